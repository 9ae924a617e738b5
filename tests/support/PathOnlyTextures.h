#pragma once

#include "model/TextureCache.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Textures by path, without pixels: enough to test how records name their images.
// `loads` says which paths load; a path asked for again keeps its first index.
class PathOnlyTextures : public TextureCache {
public:
    explicit PathOnlyTextures(std::function<bool(const std::string&)> loads)
        : loads_(std::move(loads)) {}

    int load(const std::string& path) override {
        if (!loads_(path))
            return -1;
        for (size_t i = 0; i < paths.size(); ++i)
            if (paths[i] == path)
                return static_cast<int>(i);
        paths.push_back(path);
        return static_cast<int>(paths.size()) - 1;
    }
    bool has(int index) const override {
        return index >= 0 && index < static_cast<int>(paths.size());
    }
    void bind(int) override {}
    std::string path(int index) const override { return has(index) ? paths[index] : ""; }

    std::vector<std::string> paths;

private:
    std::function<bool(const std::string&)> loads_;
};
