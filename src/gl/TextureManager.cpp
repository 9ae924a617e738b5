#include "gl/TextureManager.h"

#include <cstdio>

int TextureManager::load(const std::string& path) {
    for (size_t i = 0; i < paths_.size(); ++i) {
        if (paths_[i] == path) {
            std::fputs("This texture is already loaded! System return onry the path!\n", stderr);
            return static_cast<int>(i);
        }
    }
    std::fprintf(stderr, "System is loading the new texture: %s\n", path.c_str());
    auto image = std::make_unique<TextureImage>();
    if (!image->loadBitmap(path)) {
        lastFault_ = image->fault();
        return -1;
    }
    paths_.push_back(path);
    images_.push_back(std::move(image));
    return static_cast<int>(images_.size()) - 1;
}

bool TextureManager::has(int index) const {
    return image(index) != nullptr;
}

void TextureManager::bind(int index) {
    if (TextureImage* texture = image(index))
        texture->bind();
}

std::string TextureManager::path(int index) const {
    return has(index) ? paths_[static_cast<size_t>(index)] : std::string();
}

TextureImage* TextureManager::image(int index) const {
    if (index < 0 || index >= size())
        return nullptr;
    return images_[static_cast<size_t>(index)].get();
}
