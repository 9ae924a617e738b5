#include "modes/organ/MouseListenerForPetal.h"

#include "control/AppController.h"
#include "modes/OrganModeSwitch.h"
#include "interaction/PetalStrokes.h"
#include "organs/FlowerPetalNode.h"

void MouseListenerForPetal::onLButtonDown(int x, int y) {
    startStroke(strokes_[static_cast<size_t>(finished_)], hitPlaneZ0(x, y));
}

void MouseListenerForPetal::onMouseMove(int x, int y) {
    if (leftDown && !rightDown)
        extendStroke(strokes_[static_cast<size_t>(finished_)], hitPlaneZ0(x, y));
}

void MouseListenerForPetal::onLButtonUp(int, int) {
    // A release whose press this mode did not see (the second release of a double
    // click) finishes no stroke.
    if (!leftDown)
        return;
    leftDown = false;
    if (finished_ < 2) {
        ++finished_;
        noteChange(kChangeMainView);
        return;
    }
    buildPetal();
}

void MouseListenerForPetal::buildPetal() {
    finished_ = 0;
    PetalStrokes petal;
    if (makePetalStrokes(strokes_[0], strokes_[1], strokes_[2], petal)) {
        // The petal's base stays where it was drawn; the petal itself stands up
        // along +y from there.
        moveCameraWith(-transformPoint(inverted(petal.matrix), Vector3()));
        AppController& controller = appController();
        editNewOrgan(std::make_unique<FlowerPetalNode>(controller.nextId(), petal.left,
                                                       petal.middle, petal.right,
                                                       controller.settings().parameters),
                     kModePetalModify, "Draw petal");
    }
    for (Stroke& stroke : strokes_)
        stroke.clear();
    noteChange(kChangeMainView);
}

void MouseListenerForPetal::onRButtonDown(int, int) {
    rightDown = true;
    redrawMainView();
}

void MouseListenerForPetal::onRButtonUp(int, int) {
    rightDown = false;
}

void MouseListenerForPetal::onDraw(const DrawContext&) {
    for (const Stroke& stroke : strokes_)
        stroke.drawSketch();
}
