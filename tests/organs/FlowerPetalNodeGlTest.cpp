#include "organs/FlowerPetalNode.h"

#include "interaction/PetalStrokes.h"
#include "model/IdCounter.h"
#include "model/Parameters.h"
#include "model/PickColour.h"
#include "organs/FakeTextureCache.h"
#include "support/GlTestContext.h"
#include "support/HandDrawnPetal.h"

#include <set>
#include <utility>

namespace {

// A hand-drawn petal rendered for real, filling most of a 400 x 400 view that
// looks straight at the drawing plane.
class PetalGl : public GlTest {
protected:
    PetalGl() : GlTest(400, 400) { drawRecords.textures = &textures; }

    void SetUp() override {
        GlTest::SetUp();
        togl().setCamera({0, 0.5, 1.5}, {0, 0.5, 0}, {0, 1, 0});
        togl().setClearColour({0, 0, 0, 1});
    }

    std::unique_ptr<FlowerPetalNode> sketched() {
        PenNoise noise(11);
        const PetalSketch sketch = drawPetal(noise);
        PetalStrokes strokes;
        EXPECT_TRUE(
            makePetalStrokes(sketch.strokes[0], sketch.strokes[1], sketch.strokes[2], strokes));
        return std::make_unique<FlowerPetalNode>(ids.nextId(), strokes.left, strokes.middle,
                                                 strokes.right, values);
    }

    // Renders `draw` in a pick snapshot (or a plain frame) and returns the pixels
    // that were drawn on, as read back.
    template <typename Draw> std::vector<std::uint32_t> render(bool snapshot, Draw draw) {
        TOGL& gl = togl();
        if (snapshot)
            gl.beginSnapshot();
        else
            gl.beginFrame();
        gl.loadViewMatrix();
        draw();
        gl.endFrame();
        std::vector<std::uint32_t> drawn;
        for (int y = 0; y < gl.bufferHeight(); ++y)
            for (int x = 0; x < gl.bufferWidth(); ++x) {
                const PickPixel pixel = gl.readPickPixel(x, y);
                if (pixel.depth < 1.0f)
                    drawn.push_back(pixel.colour & 0xFFFFFFu);
            }
        return drawn;
    }

    IdCounter ids;
    Parameters values;
    FakeTextureCache textures;
};

} // namespace

TEST_F(PetalGl, PickingPassDrawsOnlyTheWholeObjectsColour) {
    // Ids past 14 bits still come back, through the snapshot's keys.
    for (int k = 0; k < 20000; ++k)
        ids.nextId();
    const auto petal = sketched();
    const std::vector<std::uint32_t> drawn = render(true, [&] {
        petal->drawSolid(frame());
        petal->drawWireframe(frame());
        petal->drawTranslucent(frame());
    });
    ASSERT_GT(drawn.size(), 5000u);
    const std::set<std::uint32_t> colours(drawn.begin(), drawn.end());
    ASSERT_EQ(colours.size(), 1u);
    const PickRecord record = decodePickColour(*colours.begin(), &togl().pickKeys());
    EXPECT_EQ(record.id, petal->id);
    EXPECT_GT(petal->id, 16384);
    EXPECT_FALSE(record.twoIndexPart);
    EXPECT_FALSE(record.oneIndexPart);

    // The see-through and wire frame passes draw nothing into a snapshot.
    EXPECT_TRUE(render(true, [&] {
                    petal->drawWireframe(frame());
                    petal->drawTranslucent(frame());
                }).empty());
}

TEST_F(PetalGl, PickedControlPointsNameTheirRowAndColumn) {
    const auto petal = sketched();
    const PetalControlPointManager& net = petal->controlPoints();
    std::set<std::pair<int, int>> named;
    for (const std::uint32_t colour : render(true, [&] { petal->drawControlPoints(frame()); })) {
        const PickRecord record = decodePickColour(colour, &togl().pickKeys());
        ASSERT_EQ(record.id, petal->id);
        ASSERT_TRUE(record.twoIndexPart);
        named.insert({record.a, record.b});
    }
    // The base and the tip are named by the last column; inner points by their own.
    EXPECT_EQ(named.count({0, net.lastColumn()}), 1u);
    EXPECT_EQ(named.count({net.tipRow(), net.lastColumn()}), 1u);
    for (const auto& [row, column] : named)
        EXPECT_TRUE((row > 0 && row < net.tipRow()) || column == net.lastColumn());
    EXPECT_GT(named.size(), 40u); // of 6 x 11 inner points, some hide each other
}

TEST_F(PetalGl, ControlPointsBeyondWhatAPickColourHoldsAreNotPickable) {
    values.petalControlPoints = {8, 30}; // 61 columns
    const auto petal = sketched();
    int largestColumn = -1;
    for (const std::uint32_t colour : render(true, [&] { petal->drawControlPoints(frame()); })) {
        const PickRecord record = decodePickColour(colour, &togl().pickKeys());
        ASSERT_TRUE(record.twoIndexPart);
        largestColumn = std::max(largestColumn, record.b);
    }
    EXPECT_EQ(largestColumn, 30);

    // Outside the snapshot every point shows: the base and tip red, inner points
    // green-cyan.
    const std::vector<std::uint32_t> shown = render(false, [&] { petal->drawControlPoints(frame()); });
    const std::set<std::uint32_t> colours(shown.begin(), shown.end());
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0x0000FFu, 0x80FF00u}));
}

TEST_F(PetalGl, UnknownTexturesFallBackToTheMaterialForGood) {
    const auto petal = sketched();
    petal->setTexture(true, 3, 4);
    EXPECT_FALSE(render(false, [&] { petal->drawSolid(frame()); }).empty());
    EXPECT_FALSE(petal->hasTexture);
    EXPECT_EQ(petal->textureFront, -1);
    EXPECT_EQ(petal->textureBack, -1);
    EXPECT_EQ(textures.binds, 0);

    // With one texture known both sides are drawn with it.
    petal->setTexture(true, textures.load("front.bmp"), 9);
    EXPECT_FALSE(render(false, [&] { petal->drawSolid(frame()); }).empty());
    EXPECT_TRUE(petal->hasTexture);
    EXPECT_EQ(petal->textureBack, 9);
    EXPECT_EQ(textures.binds, 2);
}
