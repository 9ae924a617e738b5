#include "model/ReadContext.h"

#include "model/TextureCache.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

int ReadContext::loadTexture(const std::string& storedName) const {
    if (storedName == "NON" || storedName.empty() || !textures)
        return -1;
    return textures->load(resolvedPath(storedName));
}

std::string ReadContext::resolvedPath(const std::string& storedName) const {
    const fs::path image(storedName);
    if (libraryFolder.empty() || image.is_absolute())
        return storedName;
    return (fs::path(libraryFolder) / image).lexically_normal().string();
}

std::string WriteContext::storedPath(const std::string& path) const {
    const fs::path image(path);
    if (libraryFolder.empty() || !image.is_absolute())
        return path;
    const fs::path relative = image.lexically_normal().lexically_relative(libraryFolder);
    if (relative.empty() || *relative.begin() == "..")
        return path;
    return relative.generic_string();
}

std::string libraryFolderOf(const std::string& libraryPath) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(libraryPath), error);
    return error ? std::string() : absolute.parent_path().lexically_normal().string();
}
