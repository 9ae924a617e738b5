#include "control/Thumbnail.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// A frame of the given size on white with a rectangle of `colour` (window
// coordinates, top row first).
FrameColours frameWithRect(int width, int height, int left, int top, int right, int bottom,
                           std::uint32_t colour) {
    FrameColours frame;
    frame.width = width;
    frame.height = height;
    frame.clearColour = kWhite;
    frame.pixels.assign(static_cast<size_t>(width * height), 0xFF000000u | kWhite);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            frame.pixels[static_cast<size_t>((height - 1 - y) * width + x)] = 0xFF000000u | colour;
    return frame;
}

} // namespace

TEST(ThumbnailTest, FramesTheDrawnPixelsIntoTheTile) {
    // A 66 x 33 red box: scale 1, the square centred vertically on it.
    const FrameColours frame = frameWithRect(300, 200, 100, 50, 165, 82, 0x0000FF);
    const QImage tile = frameThumbnail(frame);
    ASSERT_EQ(tile.size(), QSize(70, 70));
    // Square corner (100, 50 - 16): tile pixel (x, y) samples (100 + x, 34 + y).
    EXPECT_EQ(tile.pixel(10, 20), qRgb(255, 0, 0));
    EXPECT_EQ(tile.pixel(10, 48), qRgb(255, 0, 0));
    EXPECT_EQ(tile.pixel(10, 14), qRgb(0, 0, 0)); // above the box: background is black
    EXPECT_EQ(tile.pixel(10, 49), qRgb(0, 0, 0));
    EXPECT_EQ(tile.pixel(65, 30), qRgb(255, 0, 0));
    EXPECT_EQ(tile.pixel(66, 30), qRgb(0, 0, 0));
}

TEST(ThumbnailTest, HasABlackOuterAndAWhiteInnerRing) {
    const QImage tile = frameThumbnail(frameWithRect(100, 100, 0, 0, 99, 99, 0x00FF00));
    for (int i = 0; i < 70; ++i) {
        EXPECT_EQ(tile.pixel(i, 0), qRgb(0, 0, 0));
        EXPECT_EQ(tile.pixel(69, i), qRgb(0, 0, 0));
        if (i >= 1 && i <= 68) {
            EXPECT_EQ(tile.pixel(i, 1), qRgb(255, 255, 255));
            EXPECT_EQ(tile.pixel(1, i), qRgb(255, 255, 255));
        }
    }
    EXPECT_EQ(tile.pixel(30, 30), qRgb(0, 255, 0));
}

TEST(ThumbnailTest, ScalesByTheLargerSideOverSixtySix) {
    // A 132 wide box: scale 2; tile pixel x samples 2x from the box's left edge.
    FrameColours frame = frameWithRect(400, 300, 10, 100, 141, 120, 0x00FF00);
    // A blue column at window x = 10 + 2 * 20 marks where tile column 20 samples.
    for (int y = 100; y <= 120; ++y)
        frame.pixels[static_cast<size_t>((299 - y) * 400 + 50)] = 0xFFFF0000u;
    const QImage tile = frameThumbnail(frame);
    // Square corner y = 100 - (132 - 21) / 2 = 45: tile row 30 samples y = 105.
    EXPECT_EQ(tile.pixel(20, 30), qRgb(0, 0, 255));
    EXPECT_EQ(tile.pixel(21, 30), qRgb(0, 255, 0));
}

TEST(ThumbnailTest, NearBackgroundColoursDoNotCountAsDrawn) {
    FrameColours frame = frameWithRect(80, 80, 10, 10, 20, 20, 0xFDFDFD);
    const QImage tile = frameThumbnail(frame);
    // Nothing drawn: the whole frame is sampled, all of it background.
    EXPECT_EQ(tile.pixel(35, 35), qRgb(0, 0, 0));
    EXPECT_EQ(tile.pixel(10, 10), qRgb(0, 0, 0));
}

TEST(ThumbnailTest, AnEmptyOrShortFrameGivesABlankTile) {
    EXPECT_EQ(frameThumbnail(FrameColours{}).pixel(35, 35), qRgb(0, 0, 0));
    FrameColours shortFrame;
    shortFrame.width = 50;
    shortFrame.height = 50;
    shortFrame.pixels.assign(10, 0xFF0000FFu);
    EXPECT_EQ(frameThumbnail(shortFrame).pixel(35, 35), qRgb(0, 0, 0));
}
