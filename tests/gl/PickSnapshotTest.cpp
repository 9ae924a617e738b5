#include "interaction/OpenGL.h"

#include "gl/Background.h"
#include "gl/GroundShadows.h"
#include "model/PickColour.h"
#include "support/GlTestContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

// Draws a flat rectangle over GL pixel rows [bottom, top) and columns [left, right)
// at window depth 0.5, whatever the camera.
void drawPixelRect(int left, int bottom, int right, int top, const PickColour& colour) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3ub(colour.red, colour.green, colour.blue);
    glRecti(left, bottom, right, top);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// Two cones of 24 sectors, each sector in its own pick colour, the smaller one in
// front of the larger: edges and changes of depth all over the view.
void drawSectorCones() {
    glDisable(GL_CULL_FACE);
    for (int cone = 0; cone < 2; ++cone) {
        const double radius = cone == 0 ? 0.8 : 3.0;
        const double z = cone == 0 ? 0.3 : -0.5;
        for (int i = 0; i < 24; ++i) {
            const PickColour colour = pickColourOf(1 + 24 * cone + i, 0, 0, false, false);
            const double from = 2.0 * std::numbers::pi * i / 24;
            const double to = 2.0 * std::numbers::pi * (i + 1) / 24;
            glColor3ub(colour.red, colour.green, colour.blue);
            glBegin(GL_TRIANGLES);
            glVertex3d(0.0, 0.0, z + 0.4);
            glVertex3d(radius * std::cos(from), radius * std::sin(from), z);
            glVertex3d(radius * std::cos(to), radius * std::sin(to), z);
            glEnd();
        }
    }
    glEnable(GL_CULL_FACE);
}

class PickSnapshot : public GlTest {
protected:
    PickSnapshot() : GlTest(160, 120) {}
    int width() const { return context_.width(); }
    int height() const { return context_.height(); }
};

} // namespace

TEST_F(PickSnapshot, FlatColouredObjectsReadBackTheirExactColourValue) {
    TOGL& gl = togl();
    gl.beginSnapshot();
    EXPECT_TRUE(gl.snapshot());
    EXPECT_TRUE(gl.frameContext({}).snapshot);
    const PickColour whole = pickColourOf(77, 0, 0, false, false);
    const PickColour part = pickColourOf(1234, 5, 17, true, false);
    drawPixelRect(0, 0, 80, 120, whole);
    drawPixelRect(80, 0, 160, 120, part);
    gl.endFrame();
    EXPECT_FALSE(gl.snapshot());
    EXPECT_FALSE(gl.frameContext({}).snapshot);
    EXPECT_FALSE(GlContext::anyCurrent());

    for (int y : {0, 60, 119}) {
        const PickPixel left = gl.pixelHasObject(10, y);
        ASSERT_TRUE(left.found) << y;
        EXPECT_EQ(left.colour & 0xFFFFFFu, whole.value());
        EXPECT_EQ(decodePickColour(left.colour).id, 77);
        EXPECT_FLOAT_EQ(left.depth, 0.5f);

        const PickPixel right = gl.pixelHasObject(150, y);
        ASSERT_TRUE(right.found);
        EXPECT_EQ(right.colour & 0xFFFFFFu, part.value());
        const PickRecord record = decodePickColour(right.colour);
        EXPECT_EQ(record.id, 1234);
        EXPECT_EQ(record.a, 5);
        EXPECT_EQ(record.b, 17);
        EXPECT_TRUE(record.twoIndexPart);
    }
}

TEST_F(PickSnapshot, LargeIdsComeBackThroughTheSnapshotKeys) {
    TOGL& gl = togl();
    gl.beginSnapshot();
    const int ids[] = {16384, 20000, 16384 + 77, 77, 40000};
    for (int i = 0; i < 5; ++i)
        drawPixelRect(i * 32, 0, i * 32 + 32, 120, pickColourOf(ids[i], 3, 0, false, true, frame().pickKeys));
    gl.endFrame();
    for (int i = 0; i < 5; ++i) {
        const PickPixel pixel = gl.pixelHasObject(i * 32 + 16, 60);
        ASSERT_TRUE(pixel.found);
        const PickRecord record = decodePickColour(pixel.colour, &gl.pickKeys());
        EXPECT_EQ(record.id, ids[i]);
        EXPECT_EQ(record.a, 3);
        EXPECT_TRUE(record.oneIndexPart);
    }
}

TEST_F(PickSnapshot, TheCursorPixelIsTheOneUnderIt) {
    // GL rows 0..59 are window rows 60..119 (window y grows downwards).
    TOGL& gl = togl();
    gl.beginSnapshot();
    drawPixelRect(0, 0, 160, 60, pickColourOf(5, 0, 0, false, false));
    drawPixelRect(0, 119, 160, 120, pickColourOf(6, 0, 0, false, false));
    gl.endFrame();
    EXPECT_TRUE(gl.pixelHasObject(0, 119).found);
    EXPECT_TRUE(gl.pixelHasObject(0, 60).found);
    EXPECT_FALSE(gl.pixelHasObject(0, 59).found);
    // The top window row is as pickable as any other.
    const PickPixel top = gl.pixelHasObject(0, 0);
    ASSERT_TRUE(top.found);
    EXPECT_EQ(decodePickColour(top.colour).id, 6);
    EXPECT_FALSE(gl.pixelHasObject(0, 1).found);
    // Buffer coordinates count from the bottom.
    EXPECT_TRUE(gl.readPickPixel(0, 0).found);
    EXPECT_LT(gl.readPickPixel(0, 0).depth, 1.0f);
}

TEST_F(PickSnapshot, BackgroundAndOutsidePixelsAreNoHit) {
    TOGL& gl = togl();
    for (const Rgba& background : {Rgba{1, 1, 1, 0.5f}, Rgba{0.2f, 0.3f, 0.4f, 1.0f}}) {
        gl.setClearColour(background);
        gl.beginSnapshot();
        drawPixelRect(40, 40, 80, 80, pickColourOf(9, 0, 0, false, false));
        gl.endFrame();
        const PickPixel empty = gl.pixelHasObject(5, 5);
        EXPECT_FALSE(empty.found);
        EXPECT_EQ(empty.depth, 1.0f);
        EXPECT_TRUE(gl.readPickPixel(5, 5).found);
        EXPECT_TRUE(gl.pixelHasObject(60, 60).found);
    }
    for (auto [x, y] : {std::pair{-1, 10}, {160, 10}, {10, -1}, {10, 120}, {-100000, 100000}})
        EXPECT_FALSE(gl.pixelHasObject(x, y).found) << x << "," << y;
    EXPECT_FALSE(gl.readPickPixel(160, 0).found);
    EXPECT_FALSE(gl.readPickPixel(0, 120).found);
}

TEST_F(PickSnapshot, TheClearedWhiteBackgroundReadsAsAllBitsSet) {
    // The frame has no alpha channel: white clears to the all-ones value whatever
    // the clear colour's alpha.
    TOGL& gl = togl();
    gl.beginSnapshot();
    gl.endFrame();
    EXPECT_EQ(gl.readPickPixel(3, 3).colour, 0xFFFFFFFFu);
}

// With a pick source installed, a read renders only the region around its pixel,
// through a projection narrowed to that region: every pixel of the region must come
// out as the whole view's snapshot has it, at the view's edges too.
TEST_F(PickSnapshot, PicksRenderedAroundAReadPixelMatchTheWholeSnapshot) {
    TOGL& gl = togl();
    gl.setCamera({0.7, 0.5, 3.0}, {0.0, 0.0, 0.0}, {0.0, 1.0, 0.0});
    gl.beginSnapshot();
    drawSectorCones();
    gl.endFrame();
    const std::vector<std::uint32_t> colours = gl.colorBuffer();
    const std::vector<float> depths = gl.depthBuffer();

    gl.setPickSource([](TOGL&) { drawSectorCones(); });
    const int reach = TOGL::kPickRegionReach;
    for (const auto& [x, y] : {std::pair{80, 60}, {3, 2}, {158, 100}, {40, 119}}) {
        gl.markPicksStale();
        const int before = gl.pickFrameCount();
        const PickPixel read = gl.pixelHasObject(x, y);
        EXPECT_EQ(gl.pickFrameCount(), before + 1);
        const int row = height() - 1 - y;
        EXPECT_EQ(read.colour, colours[static_cast<size_t>(row * width() + x)]);
        int objectPixels = 0;
        for (int py = std::max(0, row - reach); py <= std::min(height() - 1, row + reach); ++py)
            for (int px = std::max(0, x - reach); px <= std::min(width() - 1, x + reach); ++px) {
                const size_t i = static_cast<size_t>(py * width() + px);
                ASSERT_EQ(gl.colorBuffer()[i], colours[i]) << px << "," << py;
                ASSERT_NEAR(gl.depthBuffer()[i], depths[i], 1e-6) << px << "," << py;
                objectPixels += depths[i] < 1.0f;
            }
        EXPECT_GT(objectPixels, 0) << x << "," << y;
    }
    // Reads inside the region use it; a camera move makes the next read render.
    const int rendered = gl.pickFrameCount();
    gl.pixelHasObject(40 + reach, 119 - reach);
    EXPECT_EQ(gl.pickFrameCount(), rendered);
    gl.orbit(0.1, 0.0);
    gl.pixelHasObject(40, 119);
    EXPECT_EQ(gl.pickFrameCount(), rendered + 1);
}

// Picks clear to their own colour: the background, the floor and the shadows on it
// never reach them, so a click there finds nothing.
TEST_F(PickSnapshot, TheBackgroundFloorAndShadowsNeverAppearInASnapshot) {
    TOGL& gl = togl();
    gl.setCamera({0, 4, 0}, {0, 0, 0}, {0, 0, -1});
    gl.beginSnapshot();
    const DrawContext draw = frame();
    drawBackground(draw);
    drawGround(draw, {shadowUnder({{-1, 0, -1}, {1, 1, 1}}, Matrix4())});
    gl.endFrame();
    const auto& depth = gl.depthBuffer();
    EXPECT_TRUE(std::all_of(depth.begin(), depth.end(), [](float d) { return d == 1.0f; }));
    const auto& colours = gl.colorBuffer();
    EXPECT_TRUE(std::all_of(colours.begin(), colours.end(),
                            [](std::uint32_t c) { return c == 0xFFFFFFFFu; }));
}

TEST_F(PickSnapshot, UnprojectingARenderedPixelGivesThePointBack) {
    TOGL& gl = togl();
    gl.setCamera({0.4, 0.9, 3.0}, {0, 0.2, 0}, {0, 1, 0});
    gl.beginSnapshot();
    glColor3ub(1, 0, 0);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS); // the square [-1, 1]^2 in the plane z = 0
    glVertex3d(-1, -1, 0);
    glVertex3d(1, -1, 0);
    glVertex3d(1, 1, 0);
    glVertex3d(-1, 1, 0);
    glEnd();
    glEnable(GL_CULL_FACE);
    gl.endFrame();
    int hits = 0;
    for (int y = 10; y < height(); y += 23) {
        for (int x = 10; x < width(); x += 29) {
            const PickPixel pixel = gl.pixelHasObject(x, y);
            if (!pixel.found)
                continue;
            ++hits;
            // The pixel's centre, in window coordinates.
            const Vector3 point = gl.unprojectPixel(x + 0.5, y + 0.5, pixel.depth);
            const Vector3 onPlane = gl.hitPlaneZ0(x + 0.5, y + 0.5);
            EXPECT_NEAR(point.z, 0.0, 1e-3);
            EXPECT_NEAR(point.x, onPlane.x, 1e-3);
            EXPECT_NEAR(point.y, onPlane.y, 1e-3);
        }
    }
    EXPECT_GT(hits, 10);
}

TEST_F(PickSnapshot, BuffersFollowTheClientSize) {
    TOGL& gl = togl();
    gl.resize(64, 32, false);
    gl.beginSnapshot();
    drawPixelRect(0, 0, 64, 32, pickColourOf(3, 0, 0, false, false));
    gl.endFrame();
    EXPECT_EQ(gl.bufferWidth(), 64);
    EXPECT_EQ(gl.bufferHeight(), 32);
    EXPECT_EQ(gl.colorBuffer().size(), 64u * 32u);
    EXPECT_TRUE(gl.pixelHasObject(63, 0).found);
    EXPECT_FALSE(gl.pixelHasObject(64, 0).found);
    EXPECT_EQ(gl.frameImage().size(), QSize(64, 32));
}
