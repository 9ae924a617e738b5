#include "modes/organ/MouseListenerForStamen.h"

#include "control/AppController.h"
#include "modes/OrganModeSwitch.h"
#include "organs/FlowerStamenNode.h"

void MouseListenerForStamen::onLButtonDown(int x, int y) {
    startStroke(stroke_, hitPlaneZ0(x, y));
}

void MouseListenerForStamen::onMouseMove(int x, int y) {
    extendStroke(stroke_, hitPlaneZ0(x, y));
}

void MouseListenerForStamen::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    if (stroke_.size() >= kMinimumPoints) {
        const Vector3 move = -stroke_.front();
        stroke_.translate(move);
        moveCameraWith(move);
        editNewOrgan(std::make_unique<FlowerStamenNode>(appController().nextId(), stroke_),
                     kModeStamenModify, "Draw stamen");
    }
    stroke_.clear();
    noteChange(kChangeMainView);
}
