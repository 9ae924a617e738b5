#include "modes/organ/MouseListenerForPistil.h"

#include "control/AppController.h"
#include "modes/OrganModeSwitch.h"
#include "organs/FlowerPistilNode.h"

void MouseListenerForPistil::onLButtonDown(int x, int y) {
    startStroke(stroke_, hitPlaneZ0(x, y));
}

void MouseListenerForPistil::onMouseMove(int x, int y) {
    extendStroke(stroke_, hitPlaneZ0(x, y));
}

void MouseListenerForPistil::onLButtonUp(int x, int y) {
    if (!leftDown)
        return;
    leftDown = false;
    stroke_.add(hitPlaneZ0(x, y));
    if (stroke_.size() >= kMinimumPoints) {
        moveCameraWith(-FlowerPistilNode::originOfOutline(stroke_));
        editNewOrgan(std::make_unique<FlowerPistilNode>(appController().nextId(), stroke_),
                     kModePistilModify, "Draw pistil");
    }
    stroke_.clear();
    noteChange(kChangeMainView);
}
