#include "AppFixture.h"

#include "control/ControlSingletons.h"
#include "control/LibraryBrowser.h"
#include "control/Singleton.h"
#include "control/Thumbnail.h"
#include "model/AxisNode.h"

namespace {

QImage markerTile() {
    QImage tile(kThumbnailSize, kThumbnailSize, QImage::Format_RGB32);
    tile.fill(qRgb(1, 2, 3));
    return tile;
}

} // namespace

class AppControllerTest : public AppFixture {};

TEST_F(AppControllerTest, StartsInPlantCreationWithThePenAndDefaultSwitches) {
    AppController& c = controller();
    EXPECT_EQ(c.mode(), kModeComposite);
    EXPECT_EQ(c.settings().drawingTool, kToolPen);
    EXPECT_EQ(c.settings().zDirection, 0);
    EXPECT_TRUE(c.settings().showFloor);
    EXPECT_FALSE(c.settings().showControlPoints);
    EXPECT_FALSE(c.settings().showWireFrame);
    EXPECT_FALSE(c.settings().display.showBillboard);
    EXPECT_TRUE(c.settings().display.showSketch);
    EXPECT_TRUE(c.settings().display.drawStrokes);
    EXPECT_FLOAT_EQ(c.settings().sketchColour.r, 1.0f);
    EXPECT_FLOAT_EQ(c.settings().sketchColour.b, 0.0f);
    EXPECT_FLOAT_EQ(c.settings().sketchColour.a, 0.5f);
    EXPECT_EQ(c.workObject(), nullptr);
    EXPECT_EQ(c.nextId(), 1);
}

TEST_F(AppControllerTest, CategoryFollowsTheClass) {
    const std::pair<int, int> expected[] = {
        {kKindTorus, kCategoryFlower},     {kKindPistil, kCategoryPrimitive},
        {kKindStamen, kCategoryPrimitive}, {kKindStem, kCategoryPrimitive},
        {kKindPetal, kCategoryLeaf},       {kKindSketch, kCategoryComposite},
    };
    for (auto [kind, category] : expected)
        EXPECT_EQ(libraryCategoryOf(AxisNode(1, kind)), category) << "kind " << kind;
    EXPECT_EQ(libraryCategoryOf(FlowerObjectComposite(1)), kCategoryComposite);
}

TEST_F(AppControllerTest, FindObjectSearchesLibraryThenWorkObjectButNeverMinusOne) {
    AppController& c = controller();
    c.setWorkObject(std::make_unique<AxisNode>(-1));
    EXPECT_EQ(c.findObject(-1), nullptr);

    auto stored = newPlant();
    FlowerObjectComposite* storedPtr = stored.get();
    c.addToLibrary(std::move(stored), kCategoryComposite);
    auto work = newPlant();
    FlowerObjectComposite* workPtr = work.get();
    c.setWorkObject(std::move(work));
    EXPECT_EQ(c.findObject(storedPtr->id), storedPtr);
    EXPECT_EQ(c.findObject(workPtr->id), workPtr);
    EXPECT_EQ(c.findObject(999), nullptr);
}

TEST_F(AppControllerTest, ResetAllEmptiesEverythingAndRestartsTheIds) {
    AppController& c = controller();
    c.addToLibrary(newPlant(), kCategoryComposite);
    c.addScene(newScene());
    c.setWorkObject(newPlant());
    c.sceneFocus().openScene(newScene());
    c.resetAll();
    EXPECT_TRUE(c.library().empty());
    EXPECT_TRUE(c.sceneFocus().scenes().empty());
    EXPECT_EQ(c.root(), nullptr);
    EXPECT_EQ(c.workObject(), nullptr);
    for (int category = 0; category < kCategoryCount; ++category)
        EXPECT_EQ(libraryBrowser().entryCount(category), 1);
    EXPECT_EQ(c.nextId(), 1);
}

TEST_F(AppControllerTest, AddToLibraryListsTheObjectAndEmptiesTheWorkObject) {
    AppController& c = controller();
    c.setWorkObject(newPlant());
    auto plant = newPlant();
    const int id = plant->id;
    c.addToLibrary(std::move(plant), kCategoryFlower);
    EXPECT_EQ(c.workObject(), nullptr);
    ASSERT_EQ(c.library().count(id), 1u);
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower), std::vector<int>{id});
    EXPECT_NE(libraryBrowser().thumbnailAt(1, kCategoryFlower), nullptr);

    c.addToLibrary(nullptr, kCategoryFlower);
    EXPECT_EQ(c.library().size(), 1u);
}

TEST_F(AppControllerTest, AddToLibraryKeepsTheEntryAlreadyHeldUnderAnId) {
    AppController& c = controller();
    auto first = std::make_unique<AxisNode>(7, kKindPetal);
    FlowerObjectNode* firstPtr = first.get();
    c.addToLibrary(std::move(first), kCategoryLeaf);
    c.addToLibrary(std::make_unique<AxisNode>(7, kKindStem), kCategoryPrimitive);
    EXPECT_EQ(c.findObject(7), firstPtr);
    EXPECT_EQ(libraryBrowser().ids(kCategoryPrimitive), std::vector<int>{});
}

TEST_F(AppControllerTest, StoringTheWorkObjectTwiceKeepsOneEntryAndRenewsItsThumbnail) {
    AppController& c = controller();
    auto petal = std::make_unique<AxisNode>(c.nextId(), kKindPetal);
    const int id = petal->id;
    c.setWorkObject(std::move(petal));
    c.storeCurrent();
    EXPECT_EQ(c.library().size(), 1u);
    EXPECT_EQ(c.workObject(), c.findObject(id));
    EXPECT_EQ(libraryBrowser().category(), kCategoryLeaf);

    libraryBrowser().addEntry(id, markerTile(), kCategoryLeaf);
    libraryBrowser().setCategory(kCategoryPrimitive);
    c.storeCurrent();
    EXPECT_EQ(c.library().size(), 1u);
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryLeaf), 2);
    EXPECT_NE(*libraryBrowser().thumbnailAt(1, kCategoryLeaf), markerTile());
    EXPECT_EQ(libraryBrowser().category(), kCategoryLeaf);
}

TEST_F(AppControllerTest, StoringWithoutAWorkObjectStoresNothing) {
    controller().storeCurrent();
    EXPECT_TRUE(controller().library().empty());
    EXPECT_EQ(libraryBrowser().category(), kCategoryPrimitive);
}

TEST_F(AppControllerTest, StoringInModeZeroStoresTheOpenSceneOnce) {
    AppController& c = controller();
    c.switchToMode(kModeSceneSketch);
    c.storeCurrent();
    EXPECT_TRUE(c.sceneFocus().scenes().empty());

    auto scene = newScene();
    SceneRoot* scenePtr = scene.get();
    c.sceneFocus().openScene(std::move(scene));
    c.storeCurrent();
    c.storeCurrent();
    ASSERT_EQ(c.sceneFocus().scenes().size(), 1u);
    EXPECT_EQ(c.root(), scenePtr);
    EXPECT_EQ(c.findSceneObject(scenePtr->id), scenePtr);
    EXPECT_EQ(libraryBrowser().ids(kCategoryScene), std::vector<int>{scenePtr->id});
    EXPECT_EQ(libraryBrowser().category(), kCategoryScene);
}

TEST_F(AppControllerTest, StoringInASceneModeWithoutFocusStoresNothing) {
    AppController& c = controller();
    c.sceneFocus().openScene(newScene());
    c.switchToMode(kModeScenePetal);
    c.storeCurrent();
    EXPECT_TRUE(c.library().empty());
    EXPECT_TRUE(c.sceneFocus().scenes().empty());
    EXPECT_EQ(c.mode(), kModeScenePetal);
}

TEST_F(AppControllerTest, RemovingAnUnstoredWorkObjectDropsItWithoutReportingARemoval) {
    AppController& c = controller();
    auto plant = newPlant();
    const int id = plant->id;
    c.setWorkObject(std::move(plant));
    EXPECT_FALSE(c.removeObject(id));
    EXPECT_EQ(c.workObject(), nullptr);
    EXPECT_EQ(c.mode(), kModeComposite);
}

TEST_F(AppControllerTest, RemoveObjectReachesScenesAndFailsForUnknownIds) {
    AppController& c = controller();
    EXPECT_FALSE(c.removeObject(-1));
    EXPECT_FALSE(c.removeObject(42));

    auto stored = newScene();
    const int storedId = stored->id;
    c.addScene(std::move(stored));
    EXPECT_EQ(c.root(), nullptr);
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryScene), 2);
    EXPECT_TRUE(c.removeObject(storedId));
    EXPECT_TRUE(c.sceneFocus().scenes().empty());
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryScene), 1);

    auto open = newScene();
    const int openId = open->id;
    c.sceneFocus().openScene(std::move(open));
    EXPECT_TRUE(c.removeObject(openId));
    EXPECT_EQ(c.root(), nullptr);
}

TEST_F(AppControllerTest, ASingletonReachedAfterTheShutdownClosedThemIsNotBuiltAgain) {
    EXPECT_DEATH(
        {
            destroyControlSingletons();
            closeSingletons();
            appController();
        },
        "reached after the shutdown destroyed it");
}

TEST_F(AppControllerTest, TargetIsTheWorkObjectInCreationModesOnly) {
    AppController& c = controller();
    c.setWorkObject(newPlant());
    EXPECT_EQ(c.targetObject(), c.workObject());
    c.switchToMode(kModeSceneModify);
    EXPECT_EQ(c.targetObject(), nullptr);
}
