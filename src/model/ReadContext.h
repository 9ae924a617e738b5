#pragma once

#include "model/IdCounter.h"
#include "model/Parameters.h"

#include <string>

class TextureCache;

// What reading library records works with besides the text: the counter that gives
// every object read its fresh id, the parameter values new objects start from, the
// texture cache that loads the images the records name, and the folder of the
// library file that relative image paths are taken against. The owner of the
// objects builds it; nothing in the reading path looks anything up.
struct ReadContext {
    IdCounter& ids;
    const Parameters& parameters;
    // Null: texture names are kept on the objects but no image is loaded.
    TextureCache* textures = nullptr;
    // Empty: image paths are taken as they are written.
    std::string libraryFolder;

    // The texture a record names: its index in the cache, or -1 when the name is
    // NON, when there is no cache or when the image cannot be loaded.
    int loadTexture(const std::string& storedName) const;
    // The path a stored image name stands for: relative names against the library's
    // folder, absolute ones as they are.
    std::string resolvedPath(const std::string& storedName) const;
};

// What writing library records works with: the texture cache that knows the image
// path of each texture index, and the folder of the library file, which image paths
// inside it are written relative to.
struct WriteContext {
    // Null: textures are written by the names the objects kept from reading, or NON.
    const TextureCache* textures = nullptr;
    // Empty: image paths are written as they are.
    std::string libraryFolder;

    // The name to write for an image path: relative to the library's folder when the
    // image lies in that folder or below, else the path as it is.
    std::string storedPath(const std::string& path) const;
};

// The folder that holds the library file at `libraryPath`, absolute and normalised;
// empty when it cannot be worked out.
std::string libraryFolderOf(const std::string& libraryPath);
