#include "modes/AxisOrganModifyListener.h"

#include "control/AppController.h"

void AxisOrganModifyListener::onRButtonDown(int x, int y) {
    beginOrbit(x, y);
}

void AxisOrganModifyListener::onRButtonUp(int, int) {
    endRightDrag();
    noteChange(kChangeMainView);
}

void AxisOrganModifyListener::onLButtonDown(int x, int y) {
    leftDown = true;
    AppController& controller = appController();
    FlowerObjectNode* work = controller.workObject();
    if (controller.settings().showControlPoints && work) {
        if (const auto picked = controlPointUnder(x, y)) {
            drag_.start(*work, *picked);
            return;
        }
    }
    if (!mayDraw())
        return;
    drawing_ = true;
    startStroke(stroke_, hitViewPlane(x, y));
    strokeStarted(work);
}

void AxisOrganModifyListener::onMouseMove(int x, int y) {
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

void AxisOrganModifyListener::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    if (drawing_) {
        const std::string step = finishStroke(stroke_);
        noteChange(step.empty() ? kChangeMainView : kChangeWorkObject, step);
    }
    if (drag_.active())
        noteChange(kChangeWorkObject, "Move control point");
    drag_.reset();
    drawing_ = false;
    stroke_.clear();
}
