#include "model/IdCounter.h"
#include "model/Parameters.h"
#include "model/TextureCache.h"
#include "starter/LeafTexture.h"
#include "starter/StarterLibrary.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The images the starter library names, known by their paths only: the library
// file records a texture's path, and the program loads the image when it opens it.
class NamedTextures final : public TextureCache {
public:
    int load(const std::string& path) override {
        paths_.push_back(path);
        return static_cast<int>(paths_.size()) - 1;
    }
    bool has(int index) const override {
        return index >= 0 && index < static_cast<int>(paths_.size());
    }
    void bind(int) override {}
    std::string path(int index) const override { return has(index) ? paths_[index] : ""; }

private:
    std::vector<std::string> paths_;
};

bool writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out.flush());
}

} // namespace

// Writes the starter library to the path given as the only argument, and beside it
// the leaf image its leaves wear.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pelmora-starter OUTPUT.pmr\n";
        return 2;
    }
    const std::filesystem::path output = std::filesystem::absolute(argv[1]);
    const std::filesystem::path leafImage = output.parent_path() / "pminit-leaf.bmp";
    if (!writeBytes(leafImage, leafTextureBmp())) {
        std::cerr << "pelmora-starter: " << leafImage.string() << ": cannot be written\n";
        return 1;
    }
    IdCounter ids;
    NamedTextures textures;
    const Parameters parameters;
    std::string error;
    try {
        const StarterLibrary library(ids, parameters, textures.load(leafImage.string()));
        if (saveLibraryFile(output.string(), library.contents(), &textures, error))
            return 0;
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::cerr << "pelmora-starter: " << error << "\n";
    return 1;
}
