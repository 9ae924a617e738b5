// The files a glTF export writes: its images' types, its file names, and the model
// written as one binary file or as JSON with its buffer.
#include "exchange/GltfFiles.h"

#include <tiny_gltf.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>

namespace {

bool startsWith(const std::string& bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && bytes.compare(0, prefix.size(), prefix) == 0;
}

// The MIME type of PNG or JPEG bytes; empty for anything else.
std::string imageMimeType(const std::string& bytes) {
    if (startsWith(bytes, "\x89PNG\r\n\x1a\n"))
        return "image/png";
    if (startsWith(bytes, "\xff\xd8\xff"))
        return "image/jpeg";
    return {};
}

} // namespace

bool readGltfImage(const std::string& path, GltfImage& image, std::string& error) {
    if (!readWholeFile(path, image.bytes, error))
        return false;
    image.mimeType = imageMimeType(image.bytes);
    if (!image.mimeType.empty())
        return true;
    error = path + " is neither a PNG nor a JPEG image";
    return false;
}

GltfPaths gltfExportPaths(const std::string& chosen) {
    GltfPaths paths;
    if (chosen.ends_with(".gltf")) {
        paths.main = chosen;
        paths.bin = chosen.substr(0, chosen.size() - 5) + ".bin";
        paths.binary = false;
    } else {
        paths.main = chosen.ends_with(".glb") ? chosen : chosen + ".glb";
    }
    return paths;
}

bool writeGlb(const tinygltf::Model& model, const std::string& path, FileSet& files,
              std::string& error) {
    tinygltf::TinyGLTF writer;
    std::ostringstream out;
    if (!writer.WriteGltfSceneToStream(&model, out, false, true)) {
        error = "cannot assemble " + path;
        return false;
    }
    files.emplace_back(path, out.str());
    return true;
}

// The library writes the JSON file and its buffer into a fresh temporary folder; they
// are read back so that they are committed with the images.
bool writeSeparate(tinygltf::Model& model, const GltfPaths& paths, FileSet& files,
                   std::string& error) {
    namespace fs = std::filesystem;
    std::string folderName = (fs::temp_directory_path() / "pelmora-gltf-XXXXXX").string();
    if (!mkdtemp(folderName.data())) {
        error = "cannot create a temporary folder for " + paths.main;
        return false;
    }
    const fs::path folder(folderName);
    const fs::path main = folder / fs::path(paths.main).filename();
    if (!model.buffers.empty())
        model.buffers[0].uri = fs::path(paths.bin).filename().string();
    tinygltf::TinyGLTF writer;
    // The images are referenced by name; the export copies them itself.
    writer.SetImageWriter(nullptr, nullptr);
    std::string json, bin;
    bool ok = writer.WriteGltfSceneToFile(&model, main.string(), false, false, true, false) &&
              readWholeFile(main.string(), json, error);
    if (ok)
        files.emplace_back(paths.main, std::move(json));
    if (ok && !model.buffers.empty()) {
        ok = readWholeFile((folder / model.buffers[0].uri).string(), bin, error);
        files.emplace_back(paths.bin, std::move(bin));
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    if (!ok && error.empty())
        error = "cannot assemble " + paths.main;
    return ok;
}

