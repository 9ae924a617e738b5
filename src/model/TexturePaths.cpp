#include "model/TexturePaths.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string& libraryFolder() {
    static std::string folder;
    return folder;
}

} // namespace

ScopedLibraryFolder::ScopedLibraryFolder(const std::string& libraryPath)
    : previous_(libraryFolder()) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(libraryPath), error);
    libraryFolder() = error ? std::string() : absolute.parent_path().lexically_normal().string();
}

ScopedLibraryFolder::~ScopedLibraryFolder() {
    libraryFolder() = previous_;
}

std::string storedTexturePath(const std::string& path) {
    const fs::path image(path);
    if (libraryFolder().empty() || !image.is_absolute())
        return path;
    const fs::path relative = image.lexically_normal().lexically_relative(libraryFolder());
    if (relative.empty() || *relative.begin() == "..")
        return path;
    return relative.generic_string();
}

std::string resolvedTexturePath(const std::string& stored) {
    const fs::path image(stored);
    if (libraryFolder().empty() || image.is_absolute())
        return stored;
    return (fs::path(libraryFolder()) / image).lexically_normal().string();
}
