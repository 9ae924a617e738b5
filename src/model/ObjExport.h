#pragma once

#include "math/TextWriter.h"

#include <map>
#include <string>

class TextureCache;

// A texture image an export uses and the copy of it that goes beside the MTL file,
// so that the exported folder can be moved without losing its textures.
struct ObjTextureCopy {
    // File name of the copy, which the material's map lines name.
    std::string name;
    // The image file's contents.
    std::string image;
    // Why the image could not be read; empty when it was.
    std::string error;
};

// What an OBJ export gathers on its one pass over the object tree: the OBJ and MTL
// text, the option that shapes them, and the texture images the materials name.
// Nothing is written to disk until the pass is over, so that a failure leaves the
// earlier files as they were.
struct ObjExport {
    TextWriter obj;
    TextWriter mtl;
    // Each surface once, with its front material, instead of a front and a back copy
    // a hair apart; for renderers that show both sides of a face.
    bool singleSurfaces = false;
    // Where the materials' textures come from; null: materials without textures.
    const TextureCache* textureCache = nullptr;
    // Keyed by the path the texture cache loaded the image from.
    std::map<std::string, ObjTextureCopy> textures;
};
