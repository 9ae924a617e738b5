#include "app/MouseListenerForPistilModify.h"

#include "app/AppController.h"
#include "model/FlowerObjectNode.h"

void MouseListenerForPistilModify::onRButtonDown(int x, int y) {
    beginOrbit(x, y);
}

void MouseListenerForPistilModify::onRButtonUp(int, int) {
    endRightDrag();
    redrawMainView();
    refreshPicks();
}

void MouseListenerForPistilModify::onLButtonDown(int x, int y) {
    leftDown = true;
    AppController& controller = appController();
    if (controller.showControlPoints && controller.workObject()) {
        if (const auto picked = controlPointUnder(x, y)) {
            drag_.start(*controller.workObject(), *picked);
            return;
        }
    }
    drawing_ = true;
    startStroke(stroke_, hitViewPlane(x, y));
}

void MouseListenerForPistilModify::onMouseMove(int x, int y) {
    if (rightDown)
        dragCamera(x, y);
    if (!leftDown)
        return;
    if (drag_.active()) {
        if (drag_.moveTo(x, y))
            redrawMainView();
    } else if (drawing_) {
        extendStroke(stroke_, hitViewPlane(x, y));
    }
}

void MouseListenerForPistilModify::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    FlowerObjectNode* pistil = appController().workObject();
    if (drawing_ && pistil)
        pistil->reshapeByStroke(stroke_);
    // The re-sketched pistil or the dragged point shows at once, and picks find it
    // where it now is.
    if (drawing_ || drag_.active()) {
        redrawMainView();
        refreshPicks();
    }
    drag_.reset();
    drawing_ = false;
    stroke_.clear();
}
