// Library tiles: the framing of a frame's drawn pixels, and tiles rendered for real
// in a windowless context.
#include "control/Thumbnail.h"

#include "support/FrameDifference.h"
#include "support/GlTestContext.h"
#include "support/SamplePlants.h"
#include "support/TileCoverage.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kBackground = 236u + 256u * 236u + 65536u * 228u;
const QRgb kBackgroundRgb = qRgb(236, 236, 228);

// A frame of the given size on the tiles' background with a rectangle of `colour`
// (window coordinates, top row first).
FrameColours frameWithRect(int width, int height, int left, int top, int right, int bottom,
                           std::uint32_t colour) {
    FrameColours frame;
    frame.width = width;
    frame.height = height;
    frame.clearColour = kBackground;
    frame.pixels.assign(static_cast<size_t>(width * height), 0xFF000000u | kBackground);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            frame.pixels[static_cast<size_t>((height - 1 - y) * width + x)] = 0xFF000000u | colour;
    return frame;
}


} // namespace

// The drawn pixels fill the square inside the border but for a small margin, centred
// across their shorter side, on the background; a frame drawn larger than the tile
// is averaged down, so an edge that cuts a tile pixel shows a colour in between.
TEST(ThumbnailTest, FramesTheDrawnPixelsWithAMarginOnTheBackground) {
    // A red box 200 by 100 with its right edge halfway across a tile pixel's
    // footprint (side 200 / 0.9 = 222.2 frame pixels over 68 tile pixels).
    const QImage tile = frameThumbnail(frameWithRect(600, 400, 100, 150, 299, 249, 0x0000FF));
    ASSERT_EQ(tile.size(), QSize(70, 70));
    const TileCoverage c = tileCoverage(tile, 6);
    EXPECT_NEAR(c.width(), 0.9 * 68, 2);
    EXPECT_NEAR(c.height(), 0.45 * 68, 2);
    // As much background left as right, above as below.
    EXPECT_NEAR(c.left - 1, 68 - c.right, 1);
    EXPECT_NEAR(c.top - 1, 68 - c.bottom, 1);
    EXPECT_EQ(tile.pixel(35, 35), qRgb(255, 0, 0));
    EXPECT_EQ(tile.pixel(35, 5), kBackgroundRgb);
    const QRgb edge = tile.pixel(c.right, 35);
    EXPECT_EQ(tile.pixel(c.right - 1, 35), qRgb(255, 0, 0));
    EXPECT_LT(qGreen(edge), 236);
    EXPECT_GT(qGreen(edge), 0);
}

TEST(ThumbnailTest, AnEmptyOrShortFrameGivesABlankTile) {
    FrameColours empty;
    empty.clearColour = kBackground;
    EXPECT_EQ(frameThumbnail(empty).pixel(35, 35), kBackgroundRgb);
    FrameColours shortFrame;
    shortFrame.width = 50;
    shortFrame.height = 50;
    shortFrame.clearColour = kBackground;
    shortFrame.pixels.assign(10, 0xFF0000FFu);
    EXPECT_EQ(frameThumbnail(shortFrame).pixel(35, 35), kBackgroundRgb);
}

class ThumbnailRender : public GlTest {
protected:
    ThumbnailRender() : GlTest(400, 300) {}
    OwnModelRecords own;
};

// Whatever its size and shape an object fills its tile, whole, on the light ground:
// a plant fifteen units tall runs from near the tile's top to near its bottom with
// the background above and below it, and a petal's tile is the same at a
// hundredth of its size (where the view's home camera would show it a pixel wide).
TEST_F(ThumbnailRender, AnObjectFillsItsTileWholeWhateverItsSizeAndShape) {
    const auto plant = samples::plant(own.records(), 3);
    plant->scale(5.0);
    const QImage tall = renderThumbnail(*plant, &togl(), drawRecords);
    const TileCoverage c = tileCoverage(tall, 6);
    EXPECT_GE(c.height(), 58);
    EXPECT_GE(c.top, 2);
    EXPECT_LE(c.bottom, 67);
    EXPECT_EQ(tall.pixel(3, 3), kBackgroundRgb);
    EXPECT_EQ(tall.pixel(66, 66), kBackgroundRgb);

    const auto petal = samples::petal(own.records());
    ASSERT_NE(petal, nullptr);
    const QImage normal = renderThumbnail(*petal, &togl(), drawRecords);
    EXPECT_GE(std::max(tileCoverage(normal, 6).width(), tileCoverage(normal, 6).height()), 58);
    petal->scale(0.01);
    const QImage tiny = renderThumbnail(*petal, &togl(), drawRecords);
    EXPECT_LT(differingPixels(normal, tiny), 70 * 70 * 3 / 100);
}
