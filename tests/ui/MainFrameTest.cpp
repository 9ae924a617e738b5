#include "ShellFixture.h"

#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "ui/AboutDialog.h"
#include "ui/CFlowerLibView.h"
#include "ui/COverallFrame.h"
#include "ui/COverallView.h"
#include "ui/CommandIds.h"
#include "ui/CommandSet.h"
#include "ui/HelpWindow.h"
#include "ui/ViewManager.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Every caption of a menu and its submenus, depth first; separators as "-".
void collectCaptions(const QMenu& menu, std::vector<std::string>& out) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            out.push_back("-");
        else if (action->menu()) {
            out.push_back("[" + action->text().toStdString() + "]");
            collectCaptions(*action->menu(), out);
            out.push_back("[/]");
        } else
            out.push_back(action->text().toStdString());
    }
}

std::vector<int> toolBarIds(const QToolBar& bar) {
    std::vector<int> ids;
    for (QAction* action : bar.actions())
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    return ids;
}

} // namespace

class MainFrameTest : public ShellFixture {
protected:
    void SetUp() override { start(); }
    QAction& action(int id) { return *frame->commands().action(id); }
    // The command's state as its menu would show it.
    bool isEnabled(int id) {
        frame->commands().updateAll();
        return action(id).isEnabled();
    }
    bool isChecked(int id) {
        frame->commands().updateAll();
        return action(id).isChecked();
    }
};

// The first start takes most of the screen with room for four columns of library
// tiles; a window the user resized and divided anew comes back the same next time,
// and so does the trackball orbit chosen for both 3D views.
TEST_F(MainFrameTest, FirstStartFillsMostOfTheScreenAndTheNextStartReturnsTheWindowAsLeft) {
    const QSize screen = frame->screen()->availableGeometry().size();
    EXPECT_GE(frame->width(), screen.width() * 3 / 4);
    EXPECT_GE(frame->height(), screen.height() * 3 / 4);
    EXPECT_GE(frame->libraryView()->width(), 6 + 4 * 76);
    EXPECT_GT(frame->mainViewPane()->width(), frame->libraryView()->width());
    EXPECT_EQ(frame->splitter()->orientation(), Qt::Horizontal);
    EXPECT_EQ(frame->windowHandle()->title(), QStringLiteral("Untitled - Pelmora"));

    EXPECT_FALSE(isChecked(kCmdTrackballOrbit));
    frame->commands().run(kCmdTrackballOrbit);
    frame->resize(1000, 700);
    frame->splitter()->setSizes({450, 540});
    QApplication::processEvents();
    const QSize size = frame->size();
    const QList<int> panes = frame->splitter()->sizes();
    frame->close();
    shutdownApplication(frame);

    start();
    EXPECT_EQ(frame->size(), size);
    EXPECT_EQ(frame->splitter()->sizes(), panes);
    EXPECT_TRUE(isChecked(kCmdTrackballOrbit));
    EXPECT_EQ(viewManager().mainContext()->camera().orbitStyle, OrbitStyle::Trackball);
    EXPECT_EQ(viewManager().overallContext()->camera().orbitStyle, OrbitStyle::Trackball);
}

// F1 opens the user guide, and the guide explains every mode a creation command
// starts.
TEST_F(MainFrameTest, F1ShowsAGuideThatExplainsEveryCreationMode) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_F1);
    ASSERT_NE(frame->helpWindow(), nullptr);
    EXPECT_TRUE(frame->helpWindow()->isVisible());
    const QString guide = frame->helpWindow()->toPlainText();
    for (int id : {kCmdSceneCreation, kCmdCompositeCreation, kCmdFlowerCreation, kCmdPetalCreation,
                   kCmdPistilCreation, kCmdStamenCreation}) {
        const QString caption = action(id).text().simplified();
        EXPECT_TRUE(guide.contains(caption)) << caption.toStdString();
    }
}

TEST_F(MainFrameTest, MenuBarHasTheMenusInOrder) {
    std::vector<std::string> titles;
    for (QAction* action : frame->menuBar()->actions())
        titles.push_back(action->text().toStdString());
    EXPECT_EQ(titles, (std::vector<std::string>{"File(&F)", "Edit(&E)", "View(&V)", "Tool", "Color",
                                                "Library", "Others", "Help(&H)"}));
}

// Captions are words a person reads: no runs of spaces to line them up, none at
// either end, and all in the program's one language.
TEST_F(MainFrameTest, EveryMenuCaptionIsPlainlyWritten) {
    std::vector<std::string> captions;
    for (QAction* menu : frame->menuBar()->actions()) {
        captions.push_back(menu->text().toStdString());
        collectCaptions(*menu->menu(), captions);
    }
    EXPECT_GT(captions.size(), 60u);
    for (const std::string& caption : captions) {
        EXPECT_EQ(caption.find("  "), std::string::npos) << caption;
        EXPECT_NE(caption.front(), ' ') << caption;
        EXPECT_NE(caption.back(), ' ') << caption;
        EXPECT_TRUE(std::all_of(caption.begin(), caption.end(), [](unsigned char c) {
            return c < 0x80;
        })) << caption;
    }
}

TEST_F(MainFrameTest, ToolBarsHoldTheirEntriesInOrderWithIconsAndHints) {
    EXPECT_EQ(toolBarIds(*frame->toolsBar()),
              (std::vector<int>{32808, 32869, 0, 32776, 32790, 32777, 32775, 0, 32848, 32849, 32851,
                                0, 32847, 32820, 32821, 32787, 32788, 32791}));
    EXPECT_EQ(toolBarIds(*frame->viewBar()),
              (std::vector<int>{32781, 32782, 0, 32778, 0, 32817, 32818, 32861, 32866, 0, 32838,
                                32783, 32784, 32810, 32785}));
    EXPECT_EQ(frame->toolBarArea(frame->toolsBar()), Qt::LeftToolBarArea);
    EXPECT_EQ(frame->toolBarArea(frame->viewBar()), Qt::TopToolBarArea);
    for (QToolBar* bar : {frame->toolsBar(), frame->viewBar()}) {
        EXPECT_EQ(bar->iconSize(), QSize(32, 32));
        EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
        for (QAction* a : bar->actions()) {
            if (a->isSeparator())
                continue;
            EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
            EXPECT_FALSE(a->statusTip().isEmpty()) << a->text().toStdString();
            EXPECT_FALSE(a->toolTip().isEmpty()) << a->text().toStdString();
        }
    }
}

TEST_F(MainFrameTest, OverallWindowHidesWhenClosedAndReturnsWithItsCamera) {
    COverallFrame& overall = frame->overallFrame();
    EXPECT_FALSE(overall.isVisible());
    EXPECT_FALSE(isChecked(kCmdShowOverallWindow));
    frame->commands().run(kCmdShowOverallWindow);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overall));
    EXPECT_TRUE(isChecked(kCmdShowOverallWindow));

    TOGL& gl = *viewManager().overallContext();
    gl.orbit(0.3, 0.1);
    const CameraPose before = gl.camera().pose();
    overall.close();
    EXPECT_FALSE(overall.isVisible());
    EXPECT_FALSE(isChecked(kCmdShowOverallWindow));
    EXPECT_EQ(viewManager().overallView(), overall.view());

    frame->commands().run(kCmdShowOverallWindow);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overall));
    const CameraPose after = gl.camera().pose();
    EXPECT_EQ(after.eye, before.eye);
    EXPECT_EQ(after.center, before.center);
    EXPECT_EQ(after.up, before.up);
}

TEST_F(MainFrameTest, OverallViewOrbitsWithARightDragAndGoesHomeOnADoubleClick) {
    frame->commands().run(kCmdShowOverallWindow);
    COverallView* view = frame->overallFrame().view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    TOGL& gl = *viewManager().overallContext();
    const Vector3 home = gl.camera().eye;
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(view, QPoint(160, 100));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, QPoint(160, 100));
    EXPECT_FALSE(gl.camera().eye == home);
    EXPECT_EQ(gl.dragKind(), kNoDrag);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(gl.camera().eye, home);
}

TEST_F(MainFrameTest, CreationCommandsEnterTheirModesWithHomeCameraAndCheckMarks) {
    TOGL& gl = *viewManager().mainContext();
    const struct {
        int command;
        int mode;
    } cases[] = {{kCmdPetalCreation, kModePetal},
                 {kCmdStamenCreation, kModeStamen},
                 {kCmdPistilCreation, kModePistil},
                 {kCmdCompositeCreation, kModeComposite}};
    for (const auto& c : cases) {
        gl.orbit(0.5, 0.0);
        appController().setWorkObject(std::make_unique<FlowerObjectComposite>(99));
        frame->commands().run(c.command);
        EXPECT_EQ(appController().mode(), c.mode);
        EXPECT_EQ(appController().workObject(), nullptr);
        EXPECT_EQ(gl.camera().eye, kMainViewHomeCamera.eye);
        EXPECT_TRUE(isChecked(c.command));
    }
    EXPECT_FALSE(isChecked(kCmdPetalCreation));
}

TEST_F(MainFrameTest, BillboardCreationStaysDisabledInEveryMode) {
    for (int mode = 0; mode < kModeCount; ++mode) {
        appController().switchToMode(mode);
        for (int id : {kCmdBranchBillboard, kCmdFlowerBillboard, kCmdLeafBillboard})
            EXPECT_FALSE(isEnabled(id)) << "mode " << mode;
    }
}

TEST_F(MainFrameTest, DrawingToolsFollowTheirModeRules) {
    appController().switchToMode(kModePetal);
    EXPECT_FALSE(isEnabled(kCmdToolCursor));
    EXPECT_FALSE(isChecked(kCmdToolCursor));
    EXPECT_FALSE(isEnabled(kCmdToolPen));
    appController().switchToMode(kModeScenePetal);
    EXPECT_FALSE(isEnabled(kCmdToolCursor));
    EXPECT_FALSE(isEnabled(kCmdToolEraser));
    EXPECT_TRUE(isEnabled(kCmdToolBrowsing));
    appController().switchToMode(kModeSceneModify);
    EXPECT_TRUE(isEnabled(kCmdToolAxisModify));
    frame->commands().run(kCmdToolCursor);
    EXPECT_EQ(appController().settings().drawingTool, kToolCursor);
    EXPECT_TRUE(isChecked(kCmdToolCursor));
    EXPECT_FALSE(isChecked(kCmdToolPen));
    appController().switchToMode(kModeCompositeModify);
    EXPECT_FALSE(isEnabled(kCmdToolAxisModify));
}

TEST_F(MainFrameTest, ZDirectionIsFixedWhileDrawingNewOrgans) {
    for (int mode : {kModeTorusModify, kModePetal, kModeStamen}) {
        appController().switchToMode(mode);
        EXPECT_FALSE(isEnabled(kCmdZDirectionUp));
        EXPECT_FALSE(isEnabled(kCmdZDirectionHere));
    }
    appController().switchToMode(kModeComposite);
    EXPECT_TRUE(isChecked(kCmdZDirectionUp));
    frame->commands().run(kCmdZDirectionHere);
    EXPECT_EQ(appController().settings().zDirection, 1);
    EXPECT_TRUE(isChecked(kCmdZDirectionHere));
    EXPECT_FALSE(isChecked(kCmdZDirectionUp));
}

TEST_F(MainFrameTest, DisplaySwitchesToggleWithTheirCheckMarks) {
    const struct {
        int command;
        bool* flag;
    } switches[] = {{kCmdShowControlPoints, &appController().settings().showControlPoints},
                    {kCmdShowSketch, &appController().settings().display.showSketch},
                    {kCmdShowWireFrame, &appController().settings().showWireFrame},
                    {kCmdShowBillboard, &appController().settings().display.showBillboard},
                    {kCmdShowFloor, &appController().settings().showFloor}};
    for (const auto& s : switches) {
        const bool before = *s.flag;
        EXPECT_EQ(isChecked(s.command), before);
        frame->commands().run(s.command);
        EXPECT_EQ(*s.flag, !before);
        EXPECT_EQ(isChecked(s.command), !before);
    }
}

TEST_F(MainFrameTest, LibraryCommandsChooseTheShownCategory) {
    const std::pair<int, int> commands[] = {{kCmdSceneLibrary, kCategoryScene},
                                            {kCmdPrimitiveLibrary, kCategoryPrimitive},
                                            {kCmdLeafLibrary, kCategoryLeaf},
                                            {kCmdFlowerLibrary, kCategoryFlower},
                                            {kCmdCompositeLibrary, kCategoryComposite}};
    for (auto [command, category] : commands) {
        frame->commands().run(command);
        EXPECT_EQ(libraryBrowser().category(), category);
        EXPECT_TRUE(isChecked(command));
    }
}

TEST_F(MainFrameTest, ObjectCommandsNeedATargetObject) {
    for (int id : {kCmdSaveObj, kCmdSaveGltf, kCmdColorObject, kCmdTextureToObject})
        EXPECT_FALSE(isEnabled(id));
    appController().setWorkObject(
        std::make_unique<FlowerObjectComposite>(appController().nextId()));
    for (int id : {kCmdSaveObj, kCmdSaveGltf, kCmdColorObject, kCmdTextureToObject})
        EXPECT_TRUE(isEnabled(id));
    EXPECT_FALSE(isEnabled(kCmdEditUndo));
}

TEST_F(MainFrameTest, SceneCreationOpensANewSceneWithThePen) {
    frame->commands().run(kCmdSceneCreation);
    EXPECT_EQ(appController().mode(), kModeSceneSketch);
    ASSERT_NE(appController().root(), nullptr);
    EXPECT_EQ(appController().settings().drawingTool, kToolPen);
    EXPECT_TRUE(isChecked(kCmdSceneCreation));
    frame->commands().run(kCmdStoreCurrent);
    EXPECT_EQ(libraryBrowser().ids(kCategoryScene), std::vector<int>{appController().root()->id});
}

TEST_F(MainFrameTest, ToolAndStatusBarsHideAndShow) {
    frame->commands().run(kCmdViewToolBar);
    EXPECT_FALSE(frame->toolsBar()->isVisible());
    EXPECT_FALSE(isChecked(kCmdViewToolBar));
    frame->commands().run(kCmdViewToolBar);
    EXPECT_TRUE(frame->toolsBar()->isVisible());
    frame->commands().run(kCmdViewStatusBar);
    EXPECT_FALSE(frame->statusBar()->isVisible());
    frame->commands().run(kCmdViewStatusBar);
    EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(MainFrameTest, TheAboutBoxNamesTheVersion) {
    AboutDialog about(frame.get());
    const QLabel* version = about.findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Pelmora Version 1.0"));
    EXPECT_NE(about.findChild<QDialogButtonBox*>(), nullptr);
}
