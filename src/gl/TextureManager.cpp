#include "gl/TextureManager.h"

#include "gl/DiagnosticsLog.h"

std::string TextureManager::Failure::message() const {
    return "the texture image " + path + " cannot be read: " + fault;
}

int TextureManager::load(const std::string& path) {
    for (size_t i = 0; i < paths_.size(); ++i) {
        if (paths_[i] == path) {
            qCDebug(pelmoraLog, "texture already loaded: %s", path.c_str());
            return static_cast<int>(i);
        }
    }
    for (const Failure& failure : failures_) {
        if (failure.path == path) {
            lastFault_ = failure.fault;
            return -1;
        }
    }
    qCDebug(pelmoraLog, "loading texture %s", path.c_str());
    auto image = std::make_unique<TextureImage>();
    if (!image->loadBitmap(path)) {
        lastFault_ = image->fault();
        failures_.push_back({path, lastFault_});
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

unsigned TextureManager::bindingVersion(int index) const {
    const TextureImage* texture = image(index);
    return texture ? 2u * static_cast<unsigned>(texture->textureName() + 1) + (texture->smooth ? 1u : 0u) : 0u;
}

void TextureManager::uploadPending() {
    for (const auto& texture : images_)
        if (texture->textureName() < 0)
            texture->bind();
}

TextureImage* TextureManager::image(int index) const {
    if (index < 0 || index >= size())
        return nullptr;
    return images_[static_cast<size_t>(index)].get();
}
