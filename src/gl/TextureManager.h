#pragma once

#include "gl/TextureImage.h"
#include "model/TextureCache.h"

#include <memory>
#include <string>
#include <vector>

// The program's texture cache: each distinct path string is decoded once and its
// texture addressed by the index `load` returned. The window program's cache belongs
// to its views (ViewManager), which free it before their contexts.
class TextureManager : public TextureCache {
public:
    TextureManager() = default;
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // The index of the texture from `path`, loading it when the exact path string
    // is new; -1 when the file cannot be loaded. Reports on the standard error
    // stream.
    int load(const std::string& path) override;
    bool has(int index) const override;
    void bind(int index) override;
    std::string path(int index) const override;

    // The texture at a valid index, else null.
    TextureImage* image(int index) const;
    int size() const { return static_cast<int>(images_.size()); }
    // Why the last `load` that answered -1 failed.
    const std::string& lastFault() const { return lastFault_; }

private:
    std::vector<std::string> paths_;
    std::vector<std::unique_ptr<TextureImage>> images_;
    std::string lastFault_;
};
