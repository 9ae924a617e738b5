#pragma once

#include <string>

// Where the texture paths of a library file are taken from: while a library file
// is written or read, the folder that holds it, so that a library moved together
// with its images keeps them. Outside that, paths are written and read as they are.
class ScopedLibraryFolder {
public:
    // `libraryPath` is the library file's path; its folder becomes the base.
    explicit ScopedLibraryFolder(const std::string& libraryPath);
    ~ScopedLibraryFolder();
    ScopedLibraryFolder(const ScopedLibraryFolder&) = delete;
    ScopedLibraryFolder& operator=(const ScopedLibraryFolder&) = delete;

private:
    std::string previous_;
};

// The path to write for a texture: relative to the library's folder when the image
// lies in that folder or below, else the path as it is.
std::string storedTexturePath(const std::string& path);
// The path a written texture path names: relative ones against the library's
// folder, absolute ones as they are.
std::string resolvedTexturePath(const std::string& stored);
