#include "OrganSketchingFixture.h"

#include "control/ViewHost.h"
#include "support/SamplePlants.h"

namespace {

// Forwards to the program's windows and counts what each commit repaints.
class CountingViewHost final : public ViewHost {
public:
    explicit CountingViewHost(ViewHost& windows) : windows_(windows) {}
    void redrawMainView() override {
        ++mainPaints;
        windows_.redrawMainView();
    }
    void redrawOverallView() override {
        ++overallPaints;
        windows_.redrawOverallView();
    }
    void redrawLibraryView() override {
        ++libraryPaints;
        windows_.redrawLibraryView();
    }
    TOGL* mainContext() override { return windows_.mainContext(); }
    TOGL* overallContext() override { return windows_.overallContext(); }

    int mainPaints = 0;
    int overallPaints = 0;
    int libraryPaints = 0;

private:
    ViewHost& windows_;
};

} // namespace

class CommitPointTest : public OrganSketchingFixture {
protected:
    // The controller's mode and the listener that receives the main view's messages
    // name the same mode.
    void expectModeAndListenerAgree(const char* after) {
        EXPECT_EQ(&mouseListenerManager().mainListener(),
                  MouseListenerManager::listenerForMode(controller().mode()))
            << "after " << after;
    }
};

// The commit marks the picks stale; the first read renders the region around its
// pixel, and reads inside that region use it as it is.
TEST_F(CommitPointTest, APetalsLastReleasePaintsEachViewOnceAndRendersPicksOnlyWhenRead) {
    run(kCmdPetalCreation);
    drag(outline(-1.0, 0.3));
    drag(straightLine({0.0, 0.02, 0.0}, {0.0, 0.95, 0.0}, 30));
    const Path right = pixelsOf(outline(1.0, 0.3));
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, right.front());
    for (size_t i = 1; i < right.size(); ++i)
        QTest::mouseMove(view, right[i]);

    CountingViewHost counting(viewManager());
    controller().setViewHost(&counting);
    const int picksBefore = gl().pickFrameCount();
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, right.back());
    controller().setViewHost(&viewManager());

    const FlowerPetalNode* petal = work<FlowerPetalNode>();
    ASSERT_NE(petal, nullptr);
    EXPECT_EQ(counting.mainPaints, 1);
    EXPECT_EQ(counting.libraryPaints, 1);
    EXPECT_EQ(gl().pickFrameCount(), picksBefore);
    EXPECT_TRUE(controller().modified());
    EXPECT_EQ(controller().lastStep(), "Draw petal");

    const QPoint middle = pixelOf({0.0, 0.5, 0.0});
    const auto picked = pickAt(middle);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->id, petal->id);
    EXPECT_EQ(gl().pickFrameCount(), picksBefore + 1);
    EXPECT_TRUE(pickAt(middle + QPoint(TOGL::kPickRegionReach, -TOGL::kPickRegionReach)));
    EXPECT_EQ(gl().pickFrameCount(), picksBefore + 1);
    // Beyond the region the next read renders again, and the empty corner shows nothing.
    EXPECT_FALSE(pickAt({2, 2}));
    EXPECT_EQ(gl().pickFrameCount(), picksBefore + 2);
}

// The overall window shows the whole scene from its own camera: it is repainted when
// the scene changes (an edit, its undo) or the scene modes are left, and not when
// the main view's camera turns or its focus moves; a run of edits faster than its
// interval repaints it once, after the main view.
TEST_F(CommitPointTest, TheOverallWindowRepaintsOnlyWhenWhatItShowsChanged) {
    addAndSelect(samples::plant(records(), 3), kCategoryComposite);
    run(kCmdSceneCreation);
    run(kCmdToolPen);
    // What the mode switches scheduled for the overall window is painted first.
    QTRY_VERIFY(!controller().overallRepaintDue());
    CountingViewHost counting(viewManager());
    controller().setViewHost(&counting);
    // The overall window follows the main view from the event loop, once the
    // repaint that a commit scheduled comes due.
    const auto overallPaintsOnceSettled = [&] {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !controller().overallRepaintDue(); }, 10000));
        return counting.overallPaints;
    };
    drag(straightLine({0, 0, 0}, {0, 1.2, 0}, 12));
    ASSERT_EQ(controller().root()->plants.size(), 1u);
    EXPECT_EQ(overallPaintsOnceSettled(), 1);

    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(view, QPoint(160, 110));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, QPoint(160, 110));
    controller().focusDown(controller().root()->plants.front().composite->id, false);
    controller().commit();
    EXPECT_GT(counting.mainPaints, 2);
    EXPECT_EQ(overallPaintsOnceSettled(), 1);

    // A run of edits faster than the overall window's interval repaints it once.
    for (int command : {kCmdEditUndo, kCmdEditRedo, kCmdEditUndo})
        frame->commands().run(command);
    EXPECT_EQ(overallPaintsOnceSettled(), 2);
    run(kCmdPetalCreation);
    EXPECT_EQ(overallPaintsOnceSettled(), 3);
    controller().setViewHost(&viewManager());
}

TEST_F(CommitPointTest, TheModeAndItsListenerAgreeAfterEverySwitchCommandAndOpen) {
    for (int command : {kCmdPetalCreation, kCmdStamenCreation, kCmdPistilCreation,
                        kCmdSceneCreation, kCmdCompositeCreation}) {
        run(command);
        expectModeAndListenerAgree("a creation command");
    }
    drawPetal();
    EXPECT_EQ(controller().mode(), kModePetalModify);
    expectModeAndListenerAgree("a petal drawn");
    run(kCmdStoreCurrent);
    ASSERT_TRUE(frame->document().saveDocument(pathOf("agree.pmr")));
    EXPECT_FALSE(controller().modified());
    controller().removeObject(controller().workObject()->id);
    controller().commit();
    expectModeAndListenerAgree("the work object removed");
    run(kCmdPetalCreation);
    ASSERT_TRUE(frame->openDocumentPath(pathOf("agree.pmr")));
    EXPECT_EQ(controller().mode(), kModeComposite);
    expectModeAndListenerAgree("a file opened");
    for (int mode = kModeCount - 1; mode >= 0; --mode) {
        controller().switchToMode(mode);
        expectModeAndListenerAgree("a switch");
    }
}

TEST_F(CommitPointTest, EveryProgramLifeStartsWithAnEmptyTextureCache) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(pathOf("red.png")));
    EXPECT_EQ(viewManager().textures().load(pathOf("red.png").toStdString()), 0);
    shutdownApplication(frame);
    start();
    EXPECT_EQ(viewManager().textures().size(), 0);
}

// Storing renders the tile through the main view's context, but into a framebuffer
// of its own: the copies the picks read stay as they were, so storing costs no pick
// pass and the next click still finds the petal and not a tile pixel.
TEST_F(CommitPointTest, PicksFindTheObjectRightAfterItsTileIsRendered) {
    const FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    const int picksBefore = gl().pickFrameCount();
    run(kCmdStoreCurrent);
    EXPECT_EQ(gl().pickFrameCount(), picksBefore);
    const auto picked = pickAt(pixelOf({0.0, 0.5, 0.0}));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->id, petal->id);
}
