#include "model/DrawDetail.h"
#include "model/PickColour.h"
#include "model/SlotSelection.h"
#include "support/FrameDifference.h"
#include "support/GlTestContext.h"
#include "support/SamplePlants.h"

#include <set>

namespace {

// A whole flower rendered for real in a 300 x 300 view looking at it from the side.
class FlowerGl : public GlTest {
protected:
    FlowerGl() : GlTest(300, 300) {}

    void SetUp() override {
        GlTest::SetUp();
        togl().setCamera({0, 0.5, 2.0}, {0, 0.4, 0}, {0, 1, 0});
        togl().setClearColour({0, 0, 0, 1});
    }

    // The ids found in a pick snapshot of the flower; with `controlPoints`, only
    // those whose control points show.
    std::set<int> pickedIds(bool controlPoints = false) {
        TOGL& gl = togl();
        gl.beginSnapshot();
        gl.loadViewMatrix();
        flower->drawSolid(frame());
        gl.endFrame();
        std::set<int> ids;
        for (int y = 0; y < gl.bufferHeight(); ++y)
            for (int x = 0; x < gl.bufferWidth(); ++x) {
                const PickPixel pixel = gl.readPickPixel(x, y);
                const PickRecord record = decodePickColour(pixel.colour & 0xFFFFFFu, &gl.pickKeys());
                if (pixel.depth < 1.0f && (record.twoIndexPart || !controlPoints))
                    ids.insert(record.id);
            }
        return ids;
    }

    OwnModelRecords records;
    std::unique_ptr<FlowerTorusNode> flower = samples::flower(records.records());
};

} // namespace

TEST_F(FlowerGl, PickSnapshotShowsTheReceptacleAndItsOrgansByTheirIds) {
    const std::set<int> picked = pickedIds();
    EXPECT_TRUE(picked.count(flower->id)) << "the receptacle itself";
    int organsSeen = 0;
    for (int whorl : {kWhorlPistil, kWhorlStamen, kWhorlPetal, kWhorlSepal})
        for (const auto& slot : flower->whorl(whorl).parts)
            organsSeen += picked.count(slot->object->id) ? 1 : 0;
    EXPECT_GE(organsSeen, 10);
    // Nothing but the flower's own ids: empty-slot markers stay out of the snapshot.
    for (int id : picked) {
        const OrganLookup found = flower->findOrgan(id);
        EXPECT_TRUE(found.found) << id;
    }
}

TEST_F(FlowerGl, EmptySlotsAreMarkedOnlyInTheVisibleFrame) {
    for (const auto& slot : flower->whorl(kWhorlPetal).parts)
        flower->detachOrgan(slot->object->id);
    TOGL& gl = togl();
    gl.beginFrame();
    gl.loadViewMatrix();
    flower->drawSolid(frame());
    gl.endFrame();
    const QImage image = gl.frameImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 50 && c.blue() < 50;
        }
    EXPECT_GT(red, 0) << "the petal slots' red markers";
    EXPECT_EQ(pickedIds().count(0), 0u);
}

TEST_F(FlowerGl, AFrontTextureTheCacheDoesNotKnowIsForgotten) {
    flower->setTexture(true, 7, -1);
    TOGL& gl = togl();
    gl.beginFrame();
    gl.loadViewMatrix();
    flower->drawSolid(frame());
    gl.endFrame();
    EXPECT_EQ(flower->textureFront, -1);
    EXPECT_TRUE(flower->hasTexture);
}

// The view's selection reaches the drawing through the draw context: the organ of
// a slot marked on the floral diagram, and of a slot selected for editing, shows its
// control points, pickable; no other organ does, and nothing shows for a selection
// of another receptacle.
TEST_F(FlowerGl, OnlyTheSlotsTheViewMarksOrSelectsShowTheirControlPoints) {
    EXPECT_TRUE(pickedIds(true).empty());
    // A petal and a sepal on the side facing the camera.
    const int petal = flower->whorl(kWhorlPetal).parts[4]->object->id;
    const int sepal = flower->whorl(kWhorlSepal).parts[2]->object->id;
    SlotSelection selection;
    selection.mark(flower->id, {kWhorlPetal, 4});
    selection.toggleSelected(flower->id, {kWhorlSepal, 2});
    drawRecords.slotSelection = &selection;
    EXPECT_EQ(pickedIds(true), (std::set<int>{petal, sepal}));
    EXPECT_TRUE(pickedIds().count(petal)) << "a marked organ is drawn whole";

    selection.mark(flower->id + 1000, {kWhorlPetal, 4});
    EXPECT_TRUE(pickedIds(true).empty());
}

// At time 1 the flower draws exactly the frame it draws without a bloom; halfway it
// draws another one. Its turned organs are drawn from the organs' own lists, which
// no moment of the bloom adds to once each organ has the list of its detail: moments
// shown again compile nothing.
TEST_F(FlowerGl, AtTimeOneTheBloomDrawsTheStaticFrameByteForByte) {
    TOGL& gl = togl();
    const auto frameAt = [&](double time) {
        gl.beginFrame();
        gl.loadViewMatrix();
        DrawContext draw = frame();
        draw.bloom.time = time;
        drawSolidAtDetail(*flower, draw);
        gl.endFrame();
        return gl.frameImage();
    };
    // The first frame compiles the organs' lists; the ones after draw from them.
    frameAt(BloomTime{}.time);
    const QImage still = frameAt(BloomTime{}.time);
    EXPECT_EQ(frameAt(1.0), still);
    EXPECT_GT(differingPixels(frameAt(0.5), still), 200);
    frameAt(0.3);
    const int compiled = gl.drawingCache().compiledLists();
    for (double time : {0.5, 0.3, 1.0, 0.4})
        frameAt(time);
    EXPECT_EQ(gl.drawingCache().compiledLists(), compiled);
}
