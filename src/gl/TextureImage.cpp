#include "interaction/OpenGL.h"

#include "gl/TextureImage.h"

#include "gl/GlContext.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstdlib>

namespace {

// Larger textures are refused before anything is allocated for them.
constexpr int kLargestSide = 16384;

bool sideInRange(long long side) {
    return side > 0 && side <= kLargestSide;
}

std::uint32_t littleEndian32(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t littleEndian16(const QByteArray& bytes, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Checks a Windows bitmap's headers against the file before the image reader sees
// it: the reader trusts the header and hands back a full-size image with
// uninitialised pixels when the pixel data is cut short. Null when the file is
// sound, else what is wrong with it.
const char* bitmapFault(const QByteArray& file) {
    constexpr qsizetype kFileHeaderSize = 14;
    constexpr qsizetype kCoreHeaderSize = 12;
    constexpr qsizetype kInfoHeaderSize = 40;
    if (file.size() < kFileHeaderSize + 4)
        return "truncated header";
    const qsizetype dataOffset = littleEndian32(file, 10);
    const qsizetype infoSize = littleEndian32(file, kFileHeaderSize);
    if (infoSize < kCoreHeaderSize || infoSize > file.size() - kFileHeaderSize)
        return "truncated header";

    long long width = 0;
    long long height = 0;
    long long bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (infoSize < kInfoHeaderSize) {
        width = littleEndian16(file, 18);
        height = littleEndian16(file, 20);
        bitsPerPixel = littleEndian16(file, 24);
    } else {
        width = static_cast<std::int32_t>(littleEndian32(file, 18));
        // A negative height marks a top-down bitmap.
        height = std::llabs(static_cast<std::int32_t>(littleEndian32(file, 22)));
        bitsPerPixel = littleEndian16(file, 28);
        compression = littleEndian32(file, 30);
    }
    if (!sideInRange(width) || !sideInRange(height))
        return "image size out of range";
    if (dataOffset < kFileHeaderSize + infoSize || dataOffset >= file.size())
        return "pixel data outside the file";

    constexpr std::uint32_t kUncompressed = 0;
    constexpr std::uint32_t kRunLength8 = 1;
    constexpr std::uint32_t kRunLength4 = 2;
    constexpr std::uint32_t kBitFields = 3;
    constexpr std::uint32_t kAlphaBitFields = 6;
    const qsizetype pixelBytes = file.size() - dataOffset;
    if (compression == kUncompressed || compression == kBitFields ||
        compression == kAlphaBitFields) {
        const long long rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        if (rowBytes * height > pixelBytes)
            return "truncated pixel data";
    } else if (compression == kRunLength8 || compression == kRunLength4) {
        // Run-length data states its own size.
        if (littleEndian32(file, 34) > static_cast<std::uint64_t>(pixelBytes))
            return "truncated pixel data";
    }
    return nullptr;
}

} // namespace

bool TextureImage::fail(const std::string& fault) {
    fault_ = fault;
    return false;
}

TextureImage::~TextureImage() {
    clear();
}

void TextureImage::allocate(int width, int height) {
    clear();
    if (width <= 0 || height <= 0)
        return;
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
}

void TextureImage::clear() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
    // Without a current context there is nothing to free the name in: the context
    // that held it has gone, and its names with it.
    if (textureName_ >= 0 && GlContext::anyCurrent() &&
        glIsTexture(static_cast<GLuint>(textureName_))) {
        const GLuint name = static_cast<GLuint>(textureName_);
        glDeleteTextures(1, &name);
    }
    textureName_ = -1;
}

bool TextureImage::loadBitmap(const std::string& path) {
    clear();
    fault_.clear();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return fail("cannot open the file: " + file.errorString().toStdString());
    }
    QByteArray bytes = file.readAll();
    file.close();
    if (bytes.startsWith("BM")) {
        if (const char* fault = bitmapFault(bytes)) {
            return fail(fault);
        }
    }

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead()) {
        return fail("not an image file");
    }
    const QSize size = reader.size();
    if (size.isValid() && (!sideInRange(size.width()) || !sideInRange(size.height()))) {
        return fail("image size out of range");
    }
    // Given an image of the right size and format the reader decodes into it, so
    // pixels that run-length data skips or a damaged file never reaches stay zero
    // instead of holding whatever the memory held.
    QImage decoded;
    if (size.isValid() && reader.imageFormat() != QImage::Format_Invalid) {
        // Within the reader's own allocation limit, which it would enforce itself.
        const long long bits = static_cast<long long>(size.width()) * size.height() *
                               QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
        if (bits / 8 > static_cast<long long>(QImageReader::allocationLimit()) * 1024 * 1024) {
            return fail("image too large");
        }
        decoded = QImage(size, reader.imageFormat());
        decoded.fill(0);
    }
    if (!reader.read(&decoded) || decoded.isNull()) {
        return fail(reader.errorString().toStdString());
    }
    if (!sideInRange(decoded.width()) || !sideInRange(decoded.height())) {
        return fail("image size out of range");
    }
    // Straight (not premultiplied) colour, whatever the file's format.
    decoded = decoded.convertToFormat(QImage::Format_ARGB32);
    if (decoded.isNull()) {
        return fail("out of memory");
    }

    allocate(decoded.width(), decoded.height());
    for (int y = 0; y < height_; ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
        std::uint8_t* target = &pixels_[static_cast<size_t>(height_ - 1 - y) * width_ * 4];
        for (int x = 0; x < width_; ++x) {
            target[4 * x + 0] = static_cast<std::uint8_t>(qRed(source[x]));
            target[4 * x + 1] = static_cast<std::uint8_t>(qGreen(source[x]));
            target[4 * x + 2] = static_cast<std::uint8_t>(qBlue(source[x]));
            target[4 * x + 3] = 0;
        }
    }
    return true;
}

void TextureImage::bind() {
    if (textureName_ >= 0 && glIsTexture(static_cast<GLuint>(textureName_))) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(textureName_));
    } else {
        if (pixels_.empty())
            return;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        GLuint name = 0;
        glGenTextures(1, &name);
        textureName_ = static_cast<int>(name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels_.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    }
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}
