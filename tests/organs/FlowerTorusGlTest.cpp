#include "model/PickColour.h"
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

    // The ids found in a pick snapshot of the flower.
    std::set<int> pickedIds() {
        TOGL& gl = togl();
        gl.beginSnapshot();
        gl.loadViewMatrix();
        flower->drawSolid();
        gl.endFrame();
        std::set<int> ids;
        for (int y = 0; y < gl.bufferHeight(); ++y)
            for (int x = 0; x < gl.bufferWidth(); ++x) {
                const PickPixel pixel = gl.readPickPixel(x, y);
                if (pixel.depth < 1.0f)
                    ids.insert(decodePickColour(pixel.colour & 0xFFFFFFu).id);
            }
        return ids;
    }

    IdCounter ids;
    Parameters values;
    DisplaySwitches display;
    ScopedModelContext context{{&ids, &values, &display, nullptr}};
    std::unique_ptr<FlowerTorusNode> flower = samples::flower();
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
    flower->drawSolid();
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
    flower->drawSolid();
    gl.endFrame();
    EXPECT_EQ(flower->textureFront, -1);
    EXPECT_TRUE(flower->hasTexture);
}
