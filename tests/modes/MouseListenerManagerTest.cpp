#include "ListenerProbe.h"
#include "ModesFixture.h"

#include "modes/composite/MouseListenerForComposite.h"
#include "modes/library/MouseListenerForLib.h"
#include "modes/organ/MouseListenerForPetal.h"
#include "modes/MouseListenerManager.h"
#include "control/LibraryBrowser.h"
#include "control/Singleton.h"
#include "interaction/Stroke.h"
#include "library/LibraryFile.h"
#include "model/AxisNode.h"

#include <string>
#include <vector>

namespace {

// Writes down which operation each message reached.
class RecordingListener final : public MouseListenerState {
public:
    void onLButtonUp(int x, int y) override { note("LUp", x, y); }
    void onRButtonUp(int x, int y) override { note("RUp", x, y); }
    void onMButtonUp(int x, int y) override { note("MUp", x, y); }
    void onLButtonDown(int x, int y) override { note("LDown", x, y); }
    void onRButtonDown(int x, int y) override { note("RDown", x, y); }
    void onMButtonDown(int x, int y) override { note("MDown", x, y); }
    void onLButtonDblClk(int x, int y) override { note("LDbl", x, y); }
    void onRButtonDblClk(int x, int y) override { note("RDbl", x, y); }
    void onMButtonDblClk(int x, int y) override { note("MDbl", x, y); }
    void onMouseMove(int x, int y) override { note("Move", x, y); }
    void onDraw(const DrawContext&) override { calls.push_back("Draw"); }

    std::vector<std::string> calls;

private:
    void note(const char* what, int x, int y) {
        calls.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
    }
};

} // namespace

class MouseListenerManagerTest : public ModesFixture {};

TEST_F(MouseListenerManagerTest, StartsWithThePlantCreationListenerInModeEight) {
    controller().switchToMode(kModePetal);
    MouseListenerManager& manager = mouseListenerManager();
    EXPECT_EQ(controller().mode(), kModeComposite);
    EXPECT_EQ(&manager.mainListener(),
              static_cast<MouseListenerState*>(&singleton<MouseListenerForComposite>()));
    EXPECT_EQ(&manager.libraryListener(),
              static_cast<MouseListenerState*>(&singleton<MouseListenerForLib>()));
}

TEST_F(MouseListenerManagerTest, EveryModeHasItsOwnListener) {
    MouseListenerManager& manager = mouseListenerManager();
    std::vector<MouseListenerState*> seen;
    for (int mode = 0; mode < kModeCount; ++mode) {
        appController().switchToMode(mode);
        EXPECT_EQ(controller().mode(), mode);
        EXPECT_EQ(&manager.mainListener(), MouseListenerManager::listenerForMode(mode));
        for (MouseListenerState* other : seen)
            EXPECT_NE(other, &manager.mainListener()) << "mode " << mode;
        seen.push_back(&manager.mainListener());
    }
}

TEST_F(MouseListenerManagerTest, ModesOutsideTheTableAreIgnored) {
    MouseListenerManager& manager = mouseListenerManager();
    appController().switchToMode(kModePetal);
    for (int mode : {-1, 15, 1000}) {
        EXPECT_EQ(MouseListenerManager::listenerForMode(mode), nullptr);
        appController().switchToMode(mode);
        EXPECT_EQ(controller().mode(), kModePetal);
        EXPECT_EQ(&manager.mainListener(), MouseListenerManager::listenerForMode(kModePetal));
    }
}

TEST_F(MouseListenerManagerTest, AListenerKeepsItsStateWhileAnotherModeIsActive) {
    MouseListenerManager& manager = mouseListenerManager();
    appController().switchToMode(kModePetal);
    manager.mainListener().leftDown = true;
    appController().switchToMode(kModeStamen);
    EXPECT_FALSE(manager.mainListener().leftDown);
    appController().switchToMode(kModePetal);
    EXPECT_TRUE(manager.mainListener().leftDown);
    EXPECT_TRUE(singleton<MouseListenerForPetal>().leftDown);
}

TEST_F(MouseListenerManagerTest, EachMessageReachesItsOperationWithTheClientPosition) {
    RecordingListener listener;
    const MouseMessage messages[] = {
        MouseMessage::LButtonUp,     MouseMessage::RButtonUp,     MouseMessage::MButtonUp,
        MouseMessage::LButtonDown,   MouseMessage::RButtonDown,   MouseMessage::MButtonDown,
        MouseMessage::LButtonDblClk, MouseMessage::RButtonDblClk, MouseMessage::MButtonDblClk,
        MouseMessage::MouseMove,
    };
    int x = 0;
    for (MouseMessage m : messages) {
        ++x;
        deliverMouseMessage(listener, m, x, 100 - x);
    }
    EXPECT_EQ(listener.calls,
              (std::vector<std::string>{"LUp 1,99", "RUp 2,98", "MUp 3,97", "LDown 4,96",
                                        "RDown 5,95", "MDown 6,94", "LDbl 7,93", "RDbl 8,92",
                                        "MDbl 9,91", "Move 10,90"}));
}

TEST_F(MouseListenerManagerTest, ShutdownDestroysEverySingletonAndStartsAfreshAfterwards) {
    appController().switchToMode(kModeStamen);
    controller().addToLibrary(newPlant(), kCategoryComposite);
    destroyModeSingletons();
    destroyControlSingletons();
    EXPECT_EQ(existingSingleton<AppController>(), nullptr);
    EXPECT_EQ(existingSingleton<MouseListenerManager>(), nullptr);
    EXPECT_EQ(existingSingleton<MouseListenerForPetal>(), nullptr);
    EXPECT_TRUE(controller().library().empty());
    EXPECT_EQ(controller().nextId(), 1);
    EXPECT_EQ(mouseListenerManager().mainListener().leftDown, false);
}

TEST_F(MouseListenerManagerTest, RemovingTheWorkObjectsIdDropsItAndReturnsToModeEight) {
    AppController& c = controller();
    mouseListenerManager();
    c.switchToMode(kModePetal);
    auto petal = std::make_unique<AxisNode>(c.nextId(), kKindPetal);
    const int id = petal->id;
    c.setWorkObject(std::move(petal));
    c.storeCurrent();

    EXPECT_TRUE(c.removeObject(id));
    EXPECT_EQ(c.workObject(), nullptr);
    EXPECT_EQ(c.mode(), kModeComposite);
    EXPECT_EQ(&mouseListenerManager().mainListener(),
              static_cast<MouseListenerState*>(&singleton<MouseListenerForComposite>()));
    EXPECT_TRUE(c.library().empty());
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryLeaf), 1);
}

TEST_F(MouseListenerManagerTest, StrokeCaptureFollowsTheLeftButton) {
    ListenerProbe probe;
    Stroke stroke;
    stroke.add({9, 9, 9});
    probe.extendStroke(stroke, {1, 0, 0});
    EXPECT_EQ(stroke.size(), 1); // no button down: nothing is added
    probe.startStroke(stroke, {0, 0, 0});
    EXPECT_TRUE(probe.leftDown);
    ASSERT_EQ(stroke.size(), 1);
    EXPECT_EQ(stroke.front(), Vector3(0, 0, 0));
    probe.extendStroke(stroke, {1, 0, 0});
    probe.extendStroke(stroke, {1, 0, 0});
    EXPECT_EQ(stroke.size(), 3); // every move adds a point, however close
}

TEST_F(MouseListenerManagerTest, CameraButtonsSetTheirFlagsEvenWithoutAView) {
    ListenerProbe probe;
    probe.beginOrbit(1, 2);
    EXPECT_TRUE(probe.rightDown);
    EXPECT_FALSE(probe.dragCameraWithButtons(3, 4));
    probe.endRightDrag();
    EXPECT_FALSE(probe.rightDown);
    probe.beginDolly(1, 2);
    EXPECT_TRUE(probe.middleDown);
    probe.endMiddleDrag();
    EXPECT_FALSE(probe.middleDown);
    EXPECT_EQ(probe.hitPlaneZ0(10, 10), Vector3());
    EXPECT_EQ(probe.hitViewPlane(10, 10), Vector3());
}
