#include "modes/OrganModifyListener.h"

#include "control/AppController.h"

void OrganModifyListener::onRButtonDown(int x, int y) {
    beginOrbit(x, y);
}

void OrganModifyListener::onRButtonUp(int, int) {
    endRightDrag();
    noteChange(kChangeMainView);
}

FlowerObjectNode* OrganModifyListener::dragTarget(const PickedControlPoint&) const {
    return appController().workObject();
}

void OrganModifyListener::onLButtonDown(int x, int y) {
    leftDown = true;
    AppController& controller = appController();
    if (controller.settings().showControlPoints) {
        if (const auto picked = controlPointUnder(x, y)) {
            if (FlowerObjectNode* target = dragTarget(*picked)) {
                drag_.start(*target, *picked);
                return;
            }
        }
    }
    if (!mayDraw())
        return;
    drawing_ = true;
    startStroke(stroke_, hitViewPlane(x, y));
    strokeStarted(x, y, controller.workObject());
}

void OrganModifyListener::onMouseMove(int x, int y) {
    if (rightDown)
        dragCamera(x, y);
    if (!leftDown)
        return;
    if (drag_.active()) {
        if (drag_.moveTo(x, y))
            redrawMainView();
    } else if (drawing_) {
        strokeExtended(x, y);
        extendStroke(stroke_, hitViewPlane(x, y));
    }
}

void OrganModifyListener::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    if (drawing_) {
        const std::string step = finishStroke(stroke_);
        noteChange(step.empty() ? kChangeMainView : kChangeWorkObject, step);
    }
    // A point whose object went away meanwhile moved nothing.
    if (FlowerObjectNode* target = drag_.target()) {
        dragFinished(*target);
        noteChange(kChangeWorkObject, "Move control point");
    }
    drag_.reset();
    drawing_ = false;
    stroke_.clear();
}
