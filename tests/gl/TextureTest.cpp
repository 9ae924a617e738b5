#include "interaction/OpenGL.h"

#include "gl/TextureManager.h"
#include "support/GlTestContext.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Rgb {
    int r, g, b;
};

// A distinct colour for every pixel, so that any mix-up of rows, columns or
// channels shows.
Rgb patternAt(int x, int y) {
    return {(40 * x + 7) % 256, (60 * y + 11) % 256, (13 * x + 29 * y + 3) % 256};
}

void put32(QByteArray& bytes, int at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void put16(QByteArray& bytes, int at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

// An uncompressed Windows bitmap of the pattern, 24 or 32 bits, stored bottom-up
// (the usual way) or top-down (negative height).
QByteArray bitmapBytes(int width, int height, int bits, bool topDown) {
    const int rowBytes = (width * bits + 31) / 32 * 4;
    QByteArray bytes(54 + rowBytes * height, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 10, 54);
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(bytes, 26, 1);
    put16(bytes, 28, static_cast<std::uint16_t>(bits));
    put32(bytes, 34, static_cast<std::uint32_t>(rowBytes * height));
    for (int y = 0; y < height; ++y) {
        // Image row y counted from the top.
        const int stored = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const Rgb c = patternAt(x, y);
            const int at = 54 + stored * rowBytes + x * bits / 8;
            bytes[at + 0] = static_cast<char>(c.b);
            bytes[at + 1] = static_cast<char>(c.g);
            bytes[at + 2] = static_cast<char>(c.r);
            if (bits == 32)
                bytes[at + 3] = static_cast<char>(0x80);
        }
    }
    return bytes;
}

// Texture row height - 1 - y holds image row y; every alpha is 0.
void expectPattern(const TextureImage& image, int width, int height) {
    ASSERT_EQ(image.width(), width);
    ASSERT_EQ(image.height(), height);
    ASSERT_EQ(image.pixels().size(), static_cast<size_t>(width * height * 4));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = patternAt(x, y);
            const std::uint8_t* p = &image.pixels()[((height - 1 - y) * width + x) * 4];
            ASSERT_EQ(p[0], c.r) << x << "," << y;
            ASSERT_EQ(p[1], c.g) << x << "," << y;
            ASSERT_EQ(p[2], c.b) << x << "," << y;
            ASSERT_EQ(p[3], 0) << x << "," << y;
        }
    }
}

class Textures : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(directory_.isValid()); }

    std::string write(const QString& name, const QByteArray& bytes) {
        const QString path = directory_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path.toStdString();
    }

    // Loads through a fresh cache and returns the index and the failure it noted.
    std::pair<int, std::string> loadReporting(const std::string& path) {
        TextureManager manager;
        const int index = manager.load(path);
        return {index,
                manager.failures().empty() ? std::string() : manager.failures().front().message()};
    }

    QTemporaryDir directory_;
};

} // namespace

TEST_F(Textures, BitmapsDecodePixelExactInEveryLayout) {
    // Width 5 leaves 24-bit rows padded to a multiple of four bytes.
    for (int bits : {24, 32}) {
        for (bool topDown : {false, true}) {
            const std::string path = write("pattern.bmp", bitmapBytes(5, 3, bits, topDown));
            TextureImage image;
            ASSERT_TRUE(image.loadBitmap(path)) << bits << " " << topDown;
            expectPattern(image, 5, 3);
        }
    }
}

TEST_F(Textures, OtherImageFormatsDecodeTheSameWay) {
    QImage source(4, 6, QImage::Format_ARGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            source.setPixel(x, y,
                            qRgba(patternAt(x, y).r, patternAt(x, y).g, patternAt(x, y).b, 200));
    const QString path = directory_.filePath("pattern.png");
    ASSERT_TRUE(source.save(path));
    TextureImage image;
    ASSERT_TRUE(image.loadBitmap(path.toStdString()));
    expectPattern(image, 4, 6);
}

TEST_F(Textures, TheCacheLoadsEachPathStringOnce) {
    const std::string path = write("leaf.bmp", bitmapBytes(2, 2, 24, false));
    TextureManager manager;
    EXPECT_EQ(manager.load(path), 0);
    EXPECT_EQ(manager.load(path), 0);

    // The same file spelled differently is a new texture.
    const std::string respelled = directory_.path().toStdString() + "/./leaf.bmp";
    EXPECT_EQ(manager.load(respelled), 1);
    EXPECT_EQ(manager.size(), 2);
    EXPECT_EQ(manager.path(1), respelled);
    EXPECT_TRUE(manager.has(1));
    EXPECT_FALSE(manager.has(2));
    EXPECT_FALSE(manager.has(-1));
    EXPECT_EQ(manager.path(-1), "");
    EXPECT_EQ(manager.image(7), nullptr);
}

// The organs of a library copied without its images all ask for the same missing
// file: it is tried and named once, until the failures are forgotten.
TEST_F(Textures, AMissingFileIsNamedOnceAndTriedAgainOnlyWhenForgotten) {
    const std::string path = directory_.filePath("missing.bmp").toStdString();
    TextureManager manager;
    for (int organ = 0; organ < 3; ++organ)
        EXPECT_EQ(manager.load(path), -1);
    ASSERT_EQ(manager.failures().size(), 1u);
    EXPECT_EQ(manager.failures()[0].path, path);
    EXPECT_NE(manager.failures()[0].message().find(path), std::string::npos);
    EXPECT_EQ(manager.lastFault().rfind("cannot open the file", 0), 0u) << manager.lastFault();
    EXPECT_EQ(manager.size(), 0);

    // Mended on disk, it stays refused until the cache is asked to try again.
    write("missing.bmp", bitmapBytes(2, 2, 24, false));
    EXPECT_EQ(manager.load(path), -1);
    manager.forgetFailures();
    EXPECT_EQ(manager.load(path), 0);
    EXPECT_TRUE(manager.failures().empty());
}

TEST_F(Textures, DamagedFilesAreRefusedWithAReason) {
    const QByteArray good = bitmapBytes(8, 8, 24, false);
    auto withField32 = [&](int at, std::uint32_t value) {
        QByteArray bytes = good;
        put32(bytes, at, value);
        return bytes;
    };
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"empty", QByteArray(), "not an image file"},
        {"header only", good.left(14), "truncated header"},
        {"info block cut", good.left(30), "truncated header"},
        {"pixels cut short", good.left(good.size() - 1), "truncated pixel data"},
        {"half the pixels", good.left(54 + 96), "truncated pixel data"},
        {"zero width", withField32(18, 0), "image size out of range"},
        {"zero height", withField32(22, 0), "image size out of range"},
        {"absurd width", withField32(18, 20000), "image size out of range"},
        {"absurd height", withField32(22, static_cast<std::uint32_t>(-20000)),
         "image size out of range"},
        {"most negative height", withField32(22, 0x80000000u), "image size out of range"},
        {"huge info block", withField32(14, 0xFFFFFFF0u), "truncated header"},
        {"pixels past the end", withField32(10, 100000), "pixel data outside the file"},
        {"pixels inside the header", withField32(10, 20), "pixel data outside the file"},
        {"not an image", QByteArray("just some text, not a picture"), "not an image file"},
    };
    for (const auto& c : cases) {
        const auto [index, report] = loadReporting(write("damaged.bmp", c.bytes));
        EXPECT_EQ(index, -1) << c.name;
        EXPECT_NE(report.find(c.reason), std::string::npos) << c.name << ": " << report;
    }
}

// An 8-bit run-length bitmap, width x height with a grey palette (entry i is
// (i, i, i)), whose data is one run of `run` pixels of index 7 and then, when
// `ended`, the end-of-bitmap code; the header states the size of that data.
QByteArray runLengthBitmap(int width, int height, int run, bool ended) {
    const int paletteBytes = 256 * 4;
    QByteArray bytes(54 + paletteBytes, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 10, static_cast<std::uint32_t>(54 + paletteBytes));
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(height));
    put16(bytes, 26, 1);
    put16(bytes, 28, 8);
    put32(bytes, 30, 1);
    put32(bytes, 34, ended ? 4 : 2);
    put32(bytes, 46, 256);
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            bytes[54 + 4 * i + c] = static_cast<char>(i);
    bytes.append(static_cast<char>(run));
    bytes.append(static_cast<char>(7));
    if (ended) {
        bytes.append('\0');
        bytes.append('\1');
    }
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

TEST_F(Textures, PixelsARunLengthBitmapSkipsAreZeroNotLeftOverMemory) {
    // The data ends after the first run; the rest of the image is never written.
    TextureImage image;
    ASSERT_TRUE(image.loadBitmap(write("runs.bmp", runLengthBitmap(32, 32, 10, true))));
    ASSERT_EQ(image.width(), 32);
    int written = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        const std::uint8_t* p = &image.pixels()[4 * i];
        if (p[0] == 7) {
            ++written;
            continue;
        }
        ASSERT_EQ(p[0], 0) << i;
        ASSERT_EQ(p[1], 0) << i;
        ASSERT_EQ(p[2], 0) << i;
    }
    EXPECT_EQ(written, 10);
}

TEST_F(Textures, RunLengthDataShorterThanItsHeaderSaysIsRefused) {
    QByteArray bytes = runLengthBitmap(32, 32, 10, true);
    bytes.chop(2);
    const auto [index, report] = loadReporting(write("cut.bmp", bytes));
    EXPECT_EQ(index, -1);
    EXPECT_NE(report.find("truncated pixel data"), std::string::npos) << report;
}

TEST_F(Textures, AbsurdSizesInOtherFormatsAreRefusedBeforeDecoding) {
    // A PNG header claiming 20000 x 20000 pixels, with no image data behind it.
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(Qt::red);
    const QString path = directory_.filePath("big.png");
    ASSERT_TRUE(small.save(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    for (int at : {16, 20}) { // width and height, big-endian, in the IHDR chunk
        bytes[at] = 0;
        bytes[at + 1] = 0;
        bytes[at + 2] = static_cast<char>(20000 >> 8);
        bytes[at + 3] = static_cast<char>(20000 & 0xFF);
    }
    const auto [index, report] = loadReporting(write("big.png", bytes));
    EXPECT_EQ(index, -1);
    EXPECT_NE(report.find("big.png cannot be read"), std::string::npos) << report;
}

TEST_F(Textures, ATruncatedPngIsRefused) {
    QImage source(64, 64, QImage::Format_RGB32);
    source.fill(Qt::blue);
    const QString path = directory_.filePath("cut.png");
    ASSERT_TRUE(source.save(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    const auto [index, report] = loadReporting(write("cut.png", bytes.left(bytes.size() / 2)));
    EXPECT_EQ(index, -1);
    EXPECT_NE(report.find("cut.png cannot be read"), std::string::npos) << report;
}

TEST_F(Textures, AllocateClearsAndZeroes) {
    TextureImage image;
    image.allocate(3, 2);
    EXPECT_EQ(image.pixels(), std::vector<std::uint8_t>(24, 0));
    image.allocate(0, 5);
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(image.width(), 0);
    image.clear();
    EXPECT_EQ(image.textureName(), -1);
}

using TextureUpload = GlTest;

TEST_F(TextureUpload, BindUploadsOnceWithTheWrapAndFilterSettings) {
    QTemporaryDir directory;
    const QString path = directory.filePath("t.bmp");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bitmapBytes(4, 4, 32, false));
    }
    TextureImage image;
    ASSERT_TRUE(image.loadBitmap(path.toStdString()));
    TOGL& gl = togl();
    gl.makeCurrent();
    image.bind();
    const int name = image.textureName();
    ASSERT_GE(name, 0);
    EXPECT_TRUE(glIsTexture(static_cast<GLuint>(name)));
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    std::vector<std::uint8_t> uploaded(4 * 4 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_EQ(uploaded, image.pixels());

    image.smooth = false;
    glBindTexture(GL_TEXTURE_2D, 0);
    image.bind();
    EXPECT_EQ(image.textureName(), name);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(value, name);

    image.clear();
    EXPECT_FALSE(glIsTexture(static_cast<GLuint>(name)));
    gl.doneCurrent();
}

TEST_F(TextureUpload, TexturesAreSharedBetweenViews) {
    // The main view and the overall window bind the same texture names.
    TextureImage image;
    image.allocate(2, 2);
    TOGL& first = togl();
    first.makeCurrent();
    image.bind();
    first.doneCurrent();

    GlTestContext second(32, 32);
    ASSERT_TRUE(second.attached());
    second.togl().makeCurrent();
    EXPECT_TRUE(glIsTexture(static_cast<GLuint>(image.textureName())));
    image.clear();
    second.togl().doneCurrent();
}
