#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One texture: 32-bit pixels laid out as OpenGL takes them (the bottom image row
// first) and, once bound, its GL texture name.
class TextureImage {
public:
    TextureImage() = default;
    ~TextureImage();
    TextureImage(const TextureImage&) = delete;
    TextureImage& operator=(const TextureImage&) = delete;

    // Clears, then holds width x height zeroed pixels.
    void allocate(int width, int height);
    // Frees the pixels and the GL texture.
    void clear();
    // Decodes an image file (BMP, and whatever else the image reader knows): each
    // pixel becomes R, G, B from the image and A = 0, the top image row going to the
    // last texture row. A file that cannot be opened, a damaged one, or one with a
    // side of 0 or above 16384 pixels leaves the image empty and returns false, with
    // the reason in `fault`.
    bool loadBitmap(const std::string& path);
    // Why the last `loadBitmap` failed, for the user; empty after a success.
    const std::string& fault() const { return fault_; }
    // Binds the texture, uploading it on first use: clamped in s, repeating in t,
    // filtered linearly when smooth, else by nearest pixel. Needs a current context.
    void bind();

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return pixels_.empty(); }
    // RGBA bytes, row by row from the bottom texture row.
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }
    int textureName() const { return textureName_; }
    bool smooth = true;

private:
    // Remembers why the file was refused and answers false.
    bool fail(const std::string& fault);

    std::vector<std::uint8_t> pixels_;
    std::string fault_;
    int textureName_ = -1;
    int width_ = 0;
    int height_ = 0;
};
