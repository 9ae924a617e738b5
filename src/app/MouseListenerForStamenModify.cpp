#include "app/MouseListenerForStamenModify.h"

#include "app/AppController.h"
#include "app/TOGL.h"
#include "organs/FlowerStamenNode.h"

void MouseListenerForStamenModify::onRButtonDown(int x, int y) {
    beginOrbit(x, y);
}

void MouseListenerForStamenModify::onRButtonUp(int, int) {
    endRightDrag();
    redrawMainView();
    refreshPicks();
}

void MouseListenerForStamenModify::onLButtonDown(int x, int y) {
    leftDown = true;
    AppController& controller = appController();
    FlowerObjectNode* work = controller.workObject();
    if (controller.showControlPoints && work) {
        if (const auto picked = controlPointUnder(x, y)) {
            drag_.start(*work, *picked);
            return;
        }
    }
    if (!controller.stamenEditEnabled)
        return;
    drawing_ = true;
    startStroke(stroke_, hitViewPlane(x, y));
    targetId_ = work ? work->id : -1;
    redrawMainView();
}

void MouseListenerForStamenModify::onMouseMove(int x, int y) {
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

void MouseListenerForStamenModify::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    if (drawing_ && stroke_.size() >= kMinimumPoints)
        giveAnther();
    // The new anther or the dragged point shows at once, and picks find it there.
    if (drawing_ || drag_.active()) {
        redrawMainView();
        refreshPicks();
    }
    drag_.reset();
    drawing_ = false;
    targetId_ = -1;
    stroke_.clear();
}

void MouseListenerForStamenModify::giveAnther() {
    auto* stamen = dynamic_cast<FlowerStamenNode*>(appController().findObject(targetId_));
    const TOGL* context = mainContext();
    if (!stamen || stamen->mainAxis.empty() || !context)
        return;
    const Camera& camera = context->camera();
    Stroke anther = stroke_;
    if (carryOntoPlane(camera.eye, anther.points, stamen->mainAxis.back(),
                       camera.eye - camera.center))
        stamen->setAnther(anther);
}
