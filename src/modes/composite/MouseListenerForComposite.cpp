#include "modes/composite/MouseListenerForComposite.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "model/FlowerObjectComposite.h"

void MouseListenerForComposite::onLButtonDown(int x, int y) {
    planePoint_ = hitPlaneY0(x, y);
    planeNormal_ = Vector3();
    if (const TOGL* context = mainContext()) {
        planeNormal_ = context->camera().center - context->camera().eye;
        planeNormal_.y = 0.0;
    }
    startStroke(stroke_, planePoint_);
}

void MouseListenerForComposite::onMouseMove(int x, int y) {
    if (leftDown)
        extendStroke(stroke_, hitStrokePlane(x, y, planePoint_, planeNormal_));
    else
        dragCameraWithButtons(x, y);
}

void MouseListenerForComposite::onLButtonUp(int x, int y) {
    // A release whose press this mode did not see (the mode came in with a
    // creation command, or the second release of a double click) draws nothing.
    if (!leftDown)
        return;
    leftDown = false;
    if (stroke_.size() < kMinimumPoints) {
        clear();
        noteChange(kChangeMainView);
        return;
    }
    stroke_.add(hitStrokePlane(x, y, planePoint_, planeNormal_));
    const Vector3 move = -stroke_.front();
    stroke_.translate(move);
    moveCameraWith(move);

    AppController& controller = appController();
    std::unique_ptr<FlowerObjectNode> selected = libraryBrowser().copySelected();
    if (FlowerObjectComposite* composite = asComposite(selected.get())) {
        composite->reshapeByStroke(stroke_);
        controller.setWorkObject(std::move(selected));
    } else {
        auto plant = std::make_unique<FlowerObjectComposite>(controller.nextId());
        plant->appendAlongAxis(std::move(selected), stroke_, Vector3(0.0, 0.0, 1.0));
        controller.setWorkObject(std::move(plant));
    }
    controller.switchToMode(kModeCompositeModify);
    noteChange(kChangeWorkObject, "Draw plant");
    clear();
}

void MouseListenerForComposite::clear() {
    stroke_.clear();
    planePoint_ = Vector3();
    planeNormal_ = Vector3();
}
