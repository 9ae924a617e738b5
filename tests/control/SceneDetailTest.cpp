// A scene drawn in the main view at reduced detail, through the controller and a
// real windowless GL context: it looks as in full detail, and clones share their
// drawing data.
#include "control/AppFixture.h"
#include "control/ViewHost.h"
#include "gl/TOGL.h"
#include "gl/TextureManager.h"
#include "organs/FlowerTorusNode.h"
#include "support/FrameDifference.h"
#include "support/SamplePlants.h"
#include "support/ViewBackground.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

namespace {

// The main view without a window, painted as the view paints itself.
class WindowlessMainView final : public ViewHost {
public:
    TOGL main;
    // Off, the commit point's repaints are left out and only the test's own frames,
    // from the camera it sets, are drawn.
    bool paintOnRedraw = true;

    void redrawMainView() override {
        if (paintOnRedraw)
            paint();
    }
    void paint() {
        main.beginFrame();
        const DrawContext draw = main.frameContext(appController().drawRecords());
        appController().drawMainView(draw);
        main.endFrame();
    }
    void redrawOverallView() override {}
    void redrawLibraryView() override {}
    TOGL* mainContext() override { return &main; }
    TOGL* overallContext() override { return nullptr; }
};

class SceneDetail : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(view_.main.attachWindowless()) << "no OpenGL context";
        view_.main.resize(500, 400, false);
        appController().setViewHost(&view_);
        appController().createScene();
    }
    void TearDown() override {
        appController().setViewHost(nullptr);
        AppFixture::TearDown();
    }

    // Plants of `flowers` flowers each, in a row along x.
    static void plantRow(int plants, int flowers) {
        for (int i = 0; i < plants; ++i) {
            const Vector3 at{-3.0 + 2.0 * i, 0.0, 0.0};
            appController().root()->plantAlongStroke(samples::plant(records(), flowers),
                                                     samples::line(at, at + Vector3(0, 3, 0)));
        }
        appController().commit(kChangeScene);
    }
    QImage frame(const Vector3& eye, const Vector3& centre, bool fullDetail) {
        view_.main.setCamera(eye, centre, {0, 1, 0});
        appController().settings().fullDetail = fullDetail;
        view_.paint();
        return view_.main.frameImage();
    }
    DrawingCache& cache() { return view_.main.drawingCache(); }

    WindowlessMainView view_;
};

} // namespace

// Seen whole, with the first plant half out of the view, and with a plant in focus,
// the thinned frame differs from the full one in few pixels: the level follows the
// size on screen, and what is skipped lies outside the view.
TEST_F(SceneDetail, AReducedFrameLooksLikeTheFullOne) {
    // Without the floor, what is not background is plant.
    appController().settings().showFloor = false;
    plantRow(4, 10);
    for (const auto& [eye, centre] : {std::pair{Vector3(0, 3, 12), Vector3(0, 1.5, 0)},
                                      std::pair{Vector3(-1, 2, 6), Vector3(-1, 1.8, 0)}}) {
        const int compiled = cache().compiledLists();
        const QImage full = frame(eye, centre, true);
        EXPECT_EQ(cache().compiledLists(), compiled) << "full detail draws nothing from the cache";
        const QImage reduced = frame(eye, centre, false);
        ASSERT_FALSE(full.isNull());
        ASSERT_EQ(full.size(), reduced.size());
        EXPECT_GT(cache().compiledLists(), compiled) << "the reduced frame drew from the cache";
        int drawn = 0;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                drawn += !showsBackground(full.pixelColor(x, y), y, full.height());
        EXPECT_GT(drawn, full.width() * full.height() / 100) << "the plants are in view";
        EXPECT_LE(differingPixels(full, reduced), full.width() * full.height() * 3 / 100)
            << "eye " << eye.x << " " << eye.y << " " << eye.z;
    }

    // With a plant in focus the others are drawn translucent around it, and those
    // outside the view skipped.
    appController().focusDown(appController().root()->plants[1].composite->id, false);
    const Vector3 eye{-1, 2, 6}, centre{-1, 1.8, 0};
    const QImage full = frame(eye, centre, true);
    const QImage reduced = frame(eye, centre, false);
    EXPECT_LE(differingPixels(full, reduced), full.width() * full.height() * 3 / 100);
}

// Twelve plants cloned from one, a flower on a branch each, compile one list per
// distinct content and level, not one per plant; the next frame compiles nothing,
// a change to one flower head compiles its plant alone, and so does its undo; redo
// and undo again swap the two plants without rebuilding either.
TEST_F(SceneDetail, ClonesShareTheirListsAndUndoKeepsThem) {
    view_.paintOnRedraw = false;
    const std::unique_ptr<FlowerObjectComposite> model = samples::plant(records(), 1);
    for (int i = 0; i < 12; ++i) {
        const Vector3 at{-3.0 + 0.6 * i, 0.0, -0.3 * (i % 2)};
        appController().root()->plantAlongStroke(asComposite(model->clone(appController().ids())),
                                                 samples::line(at, at + Vector3(0, 3, 0)));
    }
    appController().commit(kChangeScene);
    const Vector3 eye{0, 2, 9}, centre{0, 1.5, 0};
    frame(eye, centre, false);
    const int first = cache().compiledLists();
    // Small in the view, the plant is listed whole, at a level or two.
    EXPECT_GE(first, 1);
    EXPECT_LE(first, 2);
    frame(eye, centre, false);
    EXPECT_EQ(cache().compiledLists(), first);

    // The edit a person makes: the focus on one plant, its flower head recoloured.
    FlowerObjectComposite& plant = *appController().root()->plants[5].composite;
    appController().focusDown(plant.id, false);
    FlowerObjectNode& head = *plant.branches.front().composite->segments.back().node;
    head.setMaterial({1, 0, 0, 1}, {0, 0, 0, 1}, {0.2f, 0, 0, 1}, 10);
    appController().commit(kChangeScene);
    appController().focusToRoot(false);
    frame(eye, centre, false);
    const int edited = cache().compiledLists();

    // Undo rebuilds the changed plant alone: the others stay the same objects and
    // keep drawing from their lists.
    std::vector<const FlowerObjectComposite*> before;
    for (const auto& p : appController().root()->plants)
        before.push_back(p.composite.get());
    ASSERT_TRUE(appController().undo());
    appController().focusToRoot(false);
    const auto& after = appController().root()->plants;
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        if (i != 5) {
            EXPECT_EQ(after[i].composite.get(), before[i]) << "plant " << i;
        }
    }
    frame(eye, centre, false);
    // The plant thawed from its record (numbers read back to the digits written)
    // compiles a list of its own; nothing else does.
    EXPECT_EQ(cache().compiledLists(), edited + 1);

    // Redo brings back the very plant the undo took out, and undo again the one it
    // thawed: nothing is rebuilt or compiled.
    const FlowerObjectComposite* thawed = after[5].composite.get();
    ASSERT_TRUE(appController().redo());
    EXPECT_EQ(appController().root()->plants[5].composite.get(), before[5]);
    ASSERT_TRUE(appController().undo());
    EXPECT_EQ(appController().root()->plants[5].composite.get(), thawed);
    appController().focusToRoot(false);
    frame(eye, centre, false);
    EXPECT_EQ(cache().compiledLists(), edited + 1);
}

// A textured flower's list is compiled once: the image is uploaded before any list
// is compiled, so the list records only its binding and the next frame finds it.
TEST_F(SceneDetail, ATexturedPlantIsListedOnce) {
    view_.paintOnRedraw = false;
    QTemporaryDir folder;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = folder.filePath("red.png");
    ASSERT_TRUE(image.save(path));
    TextureManager textures;
    appController().installTextures(&textures);
    const int texture = textures.load(path.toStdString());
    ASSERT_GE(texture, 0);

    std::unique_ptr<FlowerObjectComposite> plant = samples::plant(records(), 1);
    auto& head = dynamic_cast<FlowerTorusNode&>(*plant->branches.front().composite->segments.back().node);
    int textured = 0;
    for (const auto& slot : head.whorl(kWhorlPetal).parts)
        if (slot->object) {
            slot->object->setTexture(true, texture, texture);
            ++textured;
        }
    ASSERT_GT(textured, 0);
    appController().root()->plantAlongStroke(std::move(plant), samples::line({0, 0, 0}, {0, 3, 0}));
    appController().commit(kChangeScene);
    const Vector3 eye{0, 2, 12}, centre{0, 1.5, 0};
    frame(eye, centre, false);
    const int first = cache().compiledLists();
    EXPECT_GE(first, 1);
    frame(eye, centre, false);
    EXPECT_EQ(cache().compiledLists(), first);
    appController().installTextures(nullptr);
}
