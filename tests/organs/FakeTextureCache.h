#pragma once

#include "model/TextureCache.h"

#include <string>
#include <vector>

// A texture cache that only remembers paths: every path loads, nothing is uploaded,
// and `bind` counts its calls.
class FakeTextureCache : public TextureCache {
public:
    int load(const std::string& path) override {
        paths.push_back(path);
        return static_cast<int>(paths.size()) - 1;
    }
    bool has(int index) const override {
        return index >= 0 && index < static_cast<int>(paths.size());
    }
    void bind(int) override { ++binds; }
    std::string path(int index) const override { return has(index) ? paths[index] : ""; }

    std::vector<std::string> paths;
    int binds = 0;
};
