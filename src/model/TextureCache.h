#pragma once

#include <string>

// The texture cache as the plant objects see it: textures are addressed by the
// index `load` returned; -1 means none. The GL layer's TextureManager is the one
// implementation the program uses.
class TextureCache {
public:
    virtual ~TextureCache() = default;
    // Index of the texture loaded from path (loading it on first request), or -1.
    virtual int load(const std::string& path) = 0;
    // Whether the index names a loaded texture.
    virtual bool has(int index) const = 0;
    // Binds the texture for drawing, uploading it on first use.
    virtual void bind(int index) = 0;
    // The path the texture was loaded from; empty for an unknown index.
    virtual std::string path(int index) const = 0;
    // What binding the texture now puts in a display list (its GL name, its
    // filtering): a list that bound it under another value is stale.
    virtual unsigned bindingVersion(int /*index*/) const { return 0; }
    // Uploads every texture not yet uploaded. Called outside any display list, so
    // that a list compiled later records only the binding, not the image.
    virtual void uploadPending() {}
};
