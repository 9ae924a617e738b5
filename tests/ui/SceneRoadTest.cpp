// A person's road through a scene in the real main window, as the README walks it:
// Scene Creation with the Pen in hand, plants set out along strokes up from the
// ground, the focus flown into a plant and out again, a branch grown, an axis
// redrawn, similar branches replaced at once, and the scene seen from the overall
// window.
#include "OrganSketchingFixture.h"

#include "modes/scene/MouseListenerForSceneModify.h"
#include "organs/FlowerSketchNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"
#include "support/SamplePlants.h"
#include "ui/CFlowerLibView.h"
#include "ui/COverallView.h"

#include <QToolBar>

#include <optional>
#include <set>

namespace {

std::vector<Vector3> straight(const Vector3& from, const Vector3& to, int points) {
    return samples::line(from, to, points - 1).points;
}

} // namespace

class SceneRoadTest : public OrganSketchingFixture {
protected:
    // A double click that moves the focus flies the camera: the test looks once it
    // landed.
    void doubleClick(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseDClick(view, button, Qt::NoModifier, at);
        waitForLanding();
    }
    // A world point of an object of the open scene, given in the object's frame.
    Vector3 inScene(int id, const Vector3& local) {
        return transformPoint(controller().root()->findInScene(id).matrix, local);
    }
    static std::vector<int> branchIds(const FlowerObjectComposite& plant) {
        std::vector<int> ids;
        for (const auto& branch : plant.branches)
            ids.push_back(branch.composite->id);
        return ids;
    }
    // A pixel near where a world point is seen that the pick snapshot gives to the
    // object with this id (to any object for -1).
    std::optional<QPoint> pixelShowing(const Vector3& world, int id = -1) {
        const QPoint seen = pixelOf(world);
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                if (const auto pick = pickAt(seen + QPoint(dx, dy));
                    pick && (id == -1 || pick->id == id))
                    return seen + QPoint(dx, dy);
        return std::nullopt;
    }
    std::optional<QPoint> pixelPicking(int id, const Vector3& local) {
        return pixelShowing(inScene(id, local), id);
    }
    // A new scene with the Pen in hand and a plant of three flowers set out in it
    // along a stroke up from the ground; null when no plant stands there.
    const FlowerObjectComposite* plantOfThreeFlowersInNewScene() {
        addAndSelect(samples::plant(records(), 3), kCategoryComposite);
        run(kCmdSceneCreation);
        run(kCmdToolPen);
        drag(straight({0, 0, 0}, {0, 1.2, 0}, 12));
        const SceneRoot* scene = controller().root();
        return scene && scene->plants.size() == 1 ? scene->plants.front().composite.get() : nullptr;
    }
    QImage grabOverall() {
        COverallView& overall = *viewManager().overallView();
        QImage shown;
        for (int attempt = 0; attempt < 20; ++attempt) {
            overall.renderNow();
            QTest::qWait(20);
            shown = overall.screen()->grabWindow(overall.winId()).toImage();
        }
        return shown;
    }
};

TEST_F(SceneRoadTest, PlantsSetOutFlownIntoGrownRedrawnAndReplacedAtOnce) {
    AppController& c = controller();
    const int plantEntry = addAndSelect(samples::plant(records(), 3), kCategoryComposite);
    run(kCmdSceneCreation);
    ASSERT_EQ(c.mode(), kModeSceneSketch);
    ASSERT_TRUE(c.root());

    // Two plants along ground strokes: the plant of three flowers, then a flower
    // head, which stands in a composite of its own. Three points plant nothing.
    drag(straight({-0.4, 0, 0}, {-0.4, 0.2, 0}, 3));
    EXPECT_TRUE(c.root()->plants.empty());
    drag(straight({-0.4, 0, 0}, {-0.4, 1.2, 0}, 12));
    addAndSelect(samples::flower(records()), kCategoryFlower);
    drag(straight({0.4, 0, 0}, {0.4, 0.5, 0}, 8));
    ASSERT_EQ(c.root()->plants.size(), 2u);
    FlowerObjectComposite* plant = c.root()->plants[0].composite.get();
    EXPECT_NE(plant->id, plantEntry);
    EXPECT_NEAR(plant->mainAxis.back().y, 1.2, 0.05);
    EXPECT_EQ(c.root()->plants[1].composite->segments.front().node->kind, kKindTorus);
    const int plantId = plant->id;

    // A double click on the plant's stem flies into the plant; one on empty space
    // flies back out, and into the flower head, which is edited as a flower head.
    const Vector3 stemPoint = inScene(plantId, plant->mainAxis.points[2]);
    doubleClick(pixelOf(stemPoint));
    ASSERT_TRUE(c.focus());
    EXPECT_EQ(c.focus()->id, plantId);
    EXPECT_EQ(c.mode(), kModeSceneModify);
    EXPECT_NE(gl().camera().eye, kMainViewHomeCamera.eye);
    doubleClick(QPoint(3, 3));
    EXPECT_EQ(c.focus(), nullptr);
    EXPECT_EQ(c.mode(), kModeSceneSketch);
    EXPECT_EQ(gl().camera().eye, kMainViewHomeCamera.eye);
    const FlowerObjectNode& head = *c.root()->plants[1].composite->segments.front().node;
    const std::optional<QPoint> onHead =
        pixelShowing(inScene(head.id, (head.mainAxis.front() + head.mainAxis.back()) * 0.5));
    ASSERT_TRUE(onHead);
    doubleClick(*onHead);
    ASSERT_TRUE(c.focus());
    EXPECT_EQ(c.focus()->id, head.id);
    EXPECT_EQ(c.mode(), kModeSceneTorus);
    run(kCmdFocusToRoot);
    doubleClick(pixelOf(stemPoint));
    ASSERT_EQ(c.mode(), kModeSceneModify);

    // A branch grows from the axis; a press 0.02 beside the axis draws nothing.
    run(kCmdToolPen);
    plant = asComposite(c.focus());
    const size_t branches = plant->branches.size();
    const Vector3 onAxis = inScene(plantId, plant->mainAxis.points[plant->mainAxis.size() / 3]);
    drag(straight(onAxis, onAxis + Vector3(0.3, 0.25, 0), 8));
    ASSERT_EQ(plant->branches.size(), branches + 1);
    const Vector3 beside = onAxis + Vector3(0.02, 0, 0);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, pixelOf(beside));
    for (const Vector3& p : straight(beside, beside + Vector3(0.3, 0.2, 0), 8))
        QTest::mouseMove(view, pixelOf(p));
    EXPECT_EQ(singleton<MouseListenerForSceneModify>().stroke().size(), 0);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, pixelOf(beside));
    EXPECT_EQ(plant->branches.size(), branches + 1);

    // The axis redrawn from its tip bends the plant and keeps it in its plane.
    run(kCmdToolAxisModify);
    const Stroke before = plant->mainAxis;
    const Vector3 tip = inScene(plantId, plant->mainAxis.back());
    std::vector<Vector3> bent;
    for (int i = 0; i <= 10; ++i)
        bent.push_back(tip + Vector3(0.25 * std::sin(i * 0.3), -0.11 * i, 0));
    drag(bent);
    EXPECT_NE(plant->mainAxis.points, before.points);
    for (const Vector3& p : plant->mainAxis.points)
        EXPECT_NEAR(p.z, 0.0, 0.02);

    // Three branches sketched as billboards from the axis are alike: a right
    // double click on one of them makes all three candidates, and "Load object from
    // library" puts the selected flower head in the place of each at once. A click
    // on empty space ends each billboard (and takes the Cursor).
    const std::vector<int> grown = branchIds(*plant);
    const std::set<int> earlier(grown.begin(), grown.end());
    for (int at : {3, 5, 7}) {
        c.settings().drawingTool = kToolBranchBillboard;
        const Vector3 from = inScene(plantId, plant->mainAxis.points[at]);
        drag(straight(from, from + Vector3(-0.25, 0.15, 0), 8));
        click(QPoint(3, 3));
        EXPECT_EQ(c.settings().drawingTool, kToolCursor);
    }
    std::vector<int> sketched;
    for (int id : branchIds(*plant))
        if (!earlier.count(id))
            sketched.push_back(id);
    ASSERT_EQ(sketched.size(), 3u);
    const FlowerObjectNode& billboard =
        *asComposite(c.root()->findInScene(sketched[1]).object)->segments.front().node;
    const std::optional<QPoint> onBillboard =
        pixelPicking(billboard.id, billboard.strokes.front()->points[10]);
    ASSERT_TRUE(onBillboard);
    doubleClick(*onBillboard, Qt::RightButton);
    EXPECT_EQ(c.sceneFocus().candidateIds().size(), 3u);
    run(kCmdLoadFromLibrary);
    EXPECT_TRUE(c.sceneFocus().candidateIds().empty());
    int heads = 0;
    for (const auto& branch : plant->branches) {
        EXPECT_EQ(std::count(sketched.begin(), sketched.end(), branch.composite->id), 0);
        heads += branch.composite->segments.size() == 1 &&
                 branch.composite->segments.front().node->kind == kKindTorus;
    }
    EXPECT_EQ(heads, 4); // the three replaced and the grown one
    EXPECT_EQ(plant->branches.size(), branches + 4);
    const int alike = sketched.front();

    // The Eraser over a flower head's body takes nothing: the flower is no part of
    // itself.
    run(kCmdToolEraser);
    const FlowerObjectNode& newHead = *plant->branches.back().composite->segments.front().node;
    const std::optional<QPoint> onBody =
        pixelPicking(newHead.id, (newHead.mainAxis.front() + newHead.mainAxis.back()) * 0.5);
    ASSERT_TRUE(onBody);
    click(*onBody);
    EXPECT_TRUE(c.root()->findInScene(newHead.id).found);
    EXPECT_EQ(plant->branches.size(), branches + 4);

    // Every step is one undo step, and undo keeps the focus where the step was made.
    run(kCmdEditUndo);
    EXPECT_TRUE(c.root()->findInScene(alike).found);
    ASSERT_TRUE(c.focus());
    EXPECT_EQ(c.focus()->id, plantId);
}

TEST_F(SceneRoadTest, TheOverallWindowFollowsTheSceneAndShowsTheFloorWithout) {
    AppController& c = controller();
    run(kCmdShowOverallWindow);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewManager().overallView()));
    viewManager().overallContext()->setCamera({0, 0.8, 3.5}, {0, 0.6, 0}, {0, 1, 0});
    const QImage empty = grabOverall();
    int floor = 0;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            floor += !showsBackground(empty.pixelColor(x, y), y, empty.height());
    EXPECT_GT(floor, 100);

    addAndSelect(samples::plant(records(), 3), kCategoryComposite);
    run(kCmdSceneCreation);
    drag(straight({0, 0, 0}, {0, 1.2, 0}, 12));
    ASSERT_EQ(c.root()->plants.size(), 1u);
    const QImage planted = grabOverall();
    ASSERT_EQ(planted.size(), empty.size());
    int changed = 0;
    for (int y = 0; y < planted.height(); ++y)
        for (int x = 0; x < planted.width(); ++x)
            changed += planted.pixel(x, y) != empty.pixel(x, y);
    EXPECT_GT(changed, 200);
}

// A plant stands on its shadow: the floor just in front of its foot is darker than
// the floor as far from the eye beside it. "Show floor" off takes the floor and the
// shadow away, and the background shows where they were.
TEST_F(SceneRoadTest, APlantStandsOnItsShadowAndShowFloorTakesFloorAndShadowAway) {
    ASSERT_NE(plantOfThreeFlowersInNewScene(), nullptr);
    waitForLanding();
    viewManager().mainContext()->setCamera({0, 1.2, 3.0}, {0, 0.5, 0}, {0, 1, 0});
    // Floor points off the grid's lines, beside the foot of the stem and a unit
    // away, both on one row of the view; and the rows of the floor in front of the
    // plant, which nothing else covers.
    const QPoint under = pixelOf({0.06, 0.0, 0.03});
    const QPoint beside = pixelOf({1.125, 0.0, 0.03});
    ASSERT_EQ(under.y(), beside.y());
    ASSERT_LT(beside.x(), view->width());
    const int nearRow = std::min(pixelOf({0.0, 0.0, 2.0}).y(), view->height() - 1);
    const int farRow = pixelOf({0.0, 0.0, 0.8}).y();
    ASSERT_LT(farRow, nearRow);
    const auto floorPixels = [&](const QImage& shown) {
        int pixels = 0;
        for (int y = farRow; y <= nearRow; ++y)
            for (int x = 0; x < view->width(); ++x)
                pixels += !showsBackgroundAt(*view, *view, {x, y}, shown.pixelColor(x, y));
        return pixels;
    };

    const QImage floored = grabShowing(*view, *view, under);
    EXPECT_LT(qGray(floored.pixel(under)), qGray(floored.pixel(beside)) - 40);
    EXPECT_GT(floorPixels(floored), view->width());

    run(kCmdShowFloor);
    // A grab of the screen can catch a frame half presented: the floor has left
    // when a whole grab shows none of it.
    QImage bare;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            bare = grabShowing(*view, *view, under, [&](const QColor& c) {
                return showsBackgroundAt(*view, *view, under, c);
            });
            return floorPixels(bare) == 0;
        },
        10000))
        << floorPixels(bare) << " floor pixels remain";
    EXPECT_TRUE(showsBackgroundAt(*view, *view, under, bare.pixelColor(under)));
    EXPECT_TRUE(showsBackgroundAt(*view, *view, beside, bare.pixelColor(beside)));
}

// In a view of the whole scene a flower of the farthest plant is a few dozen pixels
// across; a click there still finds the very petal under it (the picks are rendered
// for the pixels around the click when it needs them), and the Eraser takes it.
TEST_F(SceneRoadTest, AClickOnAFarFlowersPetalInTheWholeSceneFindsThatPetal) {
    AppController& c = controller();
    run(kCmdSceneCreation);
    for (int i = 0; i < 6; ++i) {
        const Vector3 at{-1.2 + 1.2 * (i % 3), 0.0, -2.0 * (i / 3)};
        c.root()->plantAlongStroke(samples::plant(records(), 3),
                                   samples::line(at, at + Vector3(0, 1.2, 0)));
    }
    c.commit(kChangeScene, "Plant");
    gl().setCamera({0.0, 1.6, 4.5}, {0.0, 0.6, -1.0}, {0.0, 1.0, 0.0});
    c.commit(kChangeMainView);

    const FlowerObjectComposite& far = *c.root()->plants.back().composite;
    const FlowerObjectComposite& branch = *far.branches.back().composite;
    auto* head = dynamic_cast<FlowerTorusNode*>(branch.segments.back().node.get());
    ASSERT_NE(head, nullptr);
    const Matrix4 headMatrix = c.root()->findInScene(head->id).matrix;
    const auto petalIds = [&] {
        std::set<int> ids;
        for (const auto& slot : head->whorl(kWhorlPetal).parts)
            if (slot->object)
                ids.insert(slot->object->id);
        return ids;
    };
    const std::set<int> before = petalIds();
    std::optional<QPoint> at;
    int picked = -1;
    for (const auto& slot : head->whorl(kWhorlPetal).parts) {
        const auto& petal = dynamic_cast<const FlowerPetalNode&>(*slot->object);
        const PetalControlPointManager& net = petal.controlPoints();
        const Vector3 middle =
            transformPoint(headMatrix * slot->organMatrix(), net.midribPoint(net.tipRow() / 2));
        if ((at = pixelShowing(middle, petal.id))) {
            picked = petal.id;
            break;
        }
    }
    ASSERT_TRUE(at) << "no petal of the far flower is seen where it stands";

    run(kCmdToolEraser);
    click(*at);
    std::set<int> expected = before;
    expected.erase(picked);
    EXPECT_EQ(petalIds(), expected);
}

TEST_F(SceneRoadTest, ABillboardGrowsFromATipAndGoesStrokeByStrokeThenTheSceneIsKept) {
    AppController& c = controller();
    run(kCmdSceneCreation);
    // Nothing selected: the plant is a default stem in a composite of its own.
    drag(straight({0, 0, 0}, {0, 0.8, 0}, 10));
    ASSERT_EQ(c.root()->plants.size(), 1u);
    FlowerObjectComposite& plant = *c.root()->plants.front().composite;
    const Vector3 tip = inScene(plant.id, plant.mainAxis.back());

    // The billboard tools are set by the scene modes themselves.
    c.settings().drawingTool = kToolBranchBillboard;
    drag(straight(tip, tip + Vector3(0.25, 0.2, 0), 8));
    ASSERT_EQ(plant.segments.size(), 2u);
    auto* sketch = dynamic_cast<FlowerSketchNode*>(plant.segments.back().node.get());
    ASSERT_NE(sketch, nullptr);
    EXPECT_EQ(sketch->strokes.size(), 1u);
    // The billboard stands where its stroke was drawn.
    const Vector3 drawnEnd = inScene(sketch->id, sketch->strokes.front()->back());
    EXPECT_LT(distance(drawnEnd, tip + Vector3(0.25, 0.2, 0)), 0.02);
    // A second stroke goes onto the same billboard.
    drag(straight(tip + Vector3(0.05, 0.1, 0), tip + Vector3(-0.15, 0.3, 0), 8));
    EXPECT_EQ(sketch->strokes.size(), 2u);
    const int sketchId = sketch->id;

    // The Eraser takes it stroke by stroke; the last stroke takes the billboard.
    run(kCmdToolEraser);
    for (int left = 1; left >= 0; --left) {
        const FlowerSketchNode& shown =
            *static_cast<FlowerSketchNode*>(c.root()->findInScene(sketchId).object);
        const std::optional<QPoint> hit = pixelPicking(sketchId, shown.strokes.front()->points[15]);
        ASSERT_TRUE(hit);
        click(*hit);
        const SceneLookup found = c.root()->findInScene(sketchId);
        ASSERT_EQ(found.found, left > 0);
        if (left > 0) {
            EXPECT_EQ(static_cast<FlowerSketchNode*>(found.object)->strokes.size(), 1u);
        }
    }
    EXPECT_EQ(plant.segments.size(), 1u);

    // Stored as a scene, saved, reopened and opened again from its tile.
    run(kCmdStoreCurrent);
    const int sceneId = c.root()->id;
    EXPECT_EQ(libraryBrowser().ids(kCategoryScene), std::vector<int>{sceneId});
    ASSERT_TRUE(frame->document().saveDocument(pathOf("scene.pmr")));
    ASSERT_TRUE(frame->openDocumentPath(pathOf("scene.pmr")));
    EXPECT_EQ(libraryBrowser().ids(kCategoryScene).size(), 1u);
    run(kCmdSceneLibrary);
    QWidget* library = frame->libraryView();
    QTest::mouseDClick(library, Qt::RightButton, Qt::NoModifier, QPoint(41, 117));
    ASSERT_TRUE(c.root());
    EXPECT_EQ(c.mode(), kModeSceneSketch);
    ASSERT_EQ(c.root()->plants.size(), 1u);
    EXPECT_EQ(c.root()->plants.front().composite->segments.front().node->kind, kKindStem);
}

// Down a focus path into a flower head and back up with the view bar's buttons: the
// focus commands are enabled exactly when there is a level above the focus, and
// "Load object from library" only where a holder on the path can take the
// replacement.
TEST_F(SceneRoadTest, TheFocusCommandsAreEnabledExactlyWhenThereIsALevelAbove) {
    AppController& c = controller();
    const FlowerObjectComposite* planted = plantOfThreeFlowersInNewScene();
    ASSERT_NE(planted, nullptr);
    const FlowerObjectComposite& plant = *planted;
    const auto button = [this](QToolBar* bar, int id) {
        return bar->widgetForAction(frame->commands().action(id));
    };
    QWidget* up = button(frame->viewBar(), kCmdFocusUp);
    QWidget* toRoot = button(frame->viewBar(), kCmdFocusToRoot);
    QWidget* load = button(frame->toolsBar(), kCmdLoadFromLibrary);
    const auto expectLevelAbove = [&](bool above) {
        EXPECT_EQ(up->isEnabled(), above);
        EXPECT_EQ(toRoot->isEnabled(), above);
    };
    expectLevelAbove(false);
    EXPECT_FALSE(load->isEnabled());

    doubleClick(pixelOf(inScene(plant.id, plant.mainAxis.points[2])));
    ASSERT_TRUE(c.focus());
    ASSERT_EQ(c.focus()->id, plant.id);
    expectLevelAbove(true);
    EXPECT_FALSE(load->isEnabled());

    // Into a flower head on a branch, in as many double clicks as it takes.
    const FlowerObjectNode& head = *plant.branches.front().composite->segments.back().node;
    const Vector3 headMiddle = (head.mainAxis.front() + head.mainAxis.back()) * 0.5;
    for (int level = 0; level < 2 && c.focus() && c.focus()->id != head.id; ++level)
        if (const std::optional<QPoint> onHead = pixelPicking(head.id, headMiddle))
            doubleClick(*onHead);
    ASSERT_TRUE(c.focus());
    ASSERT_EQ(c.focus()->id, head.id);
    EXPECT_EQ(c.mode(), kModeSceneTorus);
    expectLevelAbove(true);
    EXPECT_TRUE(load->isEnabled());

    const std::vector<int> path = c.sceneFocus().pathIds();
    ASSERT_GE(path.size(), 2u);
    QTest::mouseClick(up, Qt::LeftButton);
    ASSERT_TRUE(c.focus());
    EXPECT_EQ(c.focus()->id, path[path.size() - 2]);
    expectLevelAbove(true);
    QTest::mouseClick(toRoot, Qt::LeftButton);
    EXPECT_EQ(c.focus(), nullptr);
    EXPECT_EQ(c.mode(), kModeSceneSketch);
    expectLevelAbove(false);
    EXPECT_FALSE(load->isEnabled());
}

// The camera flies into a plant over several frames while the window keeps
// answering. A press before it lands acts as if it had landed: the camera is at its
// target and the picks are taken from there before the press is handled.
TEST_F(SceneRoadTest, APressDuringACameraFlightActsWhereTheFlightLands) {
    AppController& c = controller();
    const FlowerObjectComposite* planted = plantOfThreeFlowersInNewScene();
    ASSERT_NE(planted, nullptr);
    const FlowerObjectComposite& plant = *planted;
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier,
                       pixelOf(inScene(plant.id, plant.mainAxis.points[2])));
    ASSERT_EQ(c.focus(), &plant);
    ASSERT_TRUE(c.cameraFlying());
    Matrix4 matrix;
    c.sceneFocus().focusWithMatrix(matrix);
    const CameraPose target = levelled(SceneFocusManager::framingCamera(plant, matrix));
    EXPECT_GT(distance(gl().camera().eye, target.eye), 0.01);

    // A press on empty ground with the Cursor changes nothing itself.
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_FALSE(c.cameraFlying());
    EXPECT_LT(distance(gl().camera().eye, target.eye), 1e-9);
    const FlowerObjectNode& head = *plant.branches.front().composite->segments.back().node;
    EXPECT_TRUE(pixelPicking(head.id, (head.mainAxis.front() + head.mainAxis.back()) * 0.5));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(c.focus(), &plant);
}
