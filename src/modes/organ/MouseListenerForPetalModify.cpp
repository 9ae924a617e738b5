#include "modes/organ/MouseListenerForPetalModify.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "modes/organ/PetalBending.h"
#include "organs/FlowerPetalNode.h"


void MouseListenerForPetalModify::onRButtonDown(int x, int y) {
    beginOrbit(x, y);
}

void MouseListenerForPetalModify::onRButtonUp(int, int) {
    endRightDrag();
    noteChange(kChangeMainView);
}

void MouseListenerForPetalModify::onLButtonDown(int x, int y) {
    leftDown = true;
    AppController& controller = appController();
    if (controller.settings().showControlPoints) {
        if (const auto picked = controlPointUnder(x, y))
            if (FlowerObjectNode* target = controller.findObject(picked->objectId))
                drag_.start(*target, *picked);
        return;
    }
    drawing_ = true;
    startStroke(planeStroke_, hitViewPlane(x, y));
    nearStroke_.clear();
    nearStroke_.add(pixelNearPoint(x, y));
    redrawMainView();
}

void MouseListenerForPetalModify::onMouseMove(int x, int y) {
    if (rightDown)
        dragCamera(x, y);
    if (!leftDown)
        return;
    if (drag_.active()) {
        if (drag_.moveTo(x, y))
            redrawMainView();
    } else if (drawing_) {
        nearStroke_.add(pixelNearPoint(x, y));
        extendStroke(planeStroke_, hitViewPlane(x, y));
    }
}

void MouseListenerForPetalModify::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    auto* petal = dynamic_cast<FlowerPetalNode*>(appController().workObject());
    noteChange(kChangeMainView);
    if (drag_.active()) {
        if (auto* dragged = dynamic_cast<FlowerPetalNode*>(drag_.target())) {
            dragged->refreshShape();
            noteChange(kChangeWorkObject, "Move control point");
        }
    } else if (petal) {
        if (drawing_ && planeStroke_.size() >= kMinimumPoints && bend(*petal))
            noteChange(kChangeWorkObject, "Bend petal");
        petal->syncAxis();
    }
    nearStroke_.clear();
    planeStroke_.clear();
    drag_.reset();
    drawing_ = false;
}

bool MouseListenerForPetalModify::bend(FlowerPetalNode& petal) const {
    const TOGL* context = mainContext();
    if (!context)
        return false;
    const Camera& camera = context->camera();
    return bendPetal(petal, planeStroke_,
                     {camera.eye, context->viewTransform().modelView, camera.up},
                     appController().settings().controlPointVariant != 0);
}

void MouseListenerForPetalModify::onDraw() {
    nearStroke_.drawColored(3.0f);
    // A short blue mark just in front of the base.
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glLineWidth(3.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex3d(0.0, 0.0, 0.1);
    glVertex3d(0.0, 0.1, 0.14);
    glEnd();
}
