#include "modes/MouseListenerState.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "control/ViewHost.h"
#include "interaction/Stroke.h"

TOGL* mainContext() {
    ViewHost* host = appController().viewHost();
    return host ? host->mainContext() : nullptr;
}

Vector3 MouseListenerState::pixelNearPoint(int x, int y) const {
    TOGL* context = mainContext();
    return context ? context->pixelNearPoint(x, y) : Vector3();
}

Vector3 MouseListenerState::hitPlaneThroughPoint(const Vector3& q, const Vector3& planePoint,
                                                 const Vector3& normal) const {
    TOGL* context = mainContext();
    return context ? context->hitPlaneThroughPoint(q, planePoint, normal) : Vector3();
}

Vector3 MouseListenerState::hitPlaneY0(int x, int y) const {
    TOGL* context = mainContext();
    return context ? context->hitPlaneY0(x, y) : Vector3();
}

Vector3 MouseListenerState::hitViewPlane(int x, int y) const {
    TOGL* context = mainContext();
    return context ? context->hitViewPlane(x, y) : Vector3();
}

Vector3 MouseListenerState::hitPlaneZ0(int x, int y) const {
    TOGL* context = mainContext();
    return context ? context->hitPlaneZ0(x, y) : Vector3();
}

void MouseListenerState::beginOrbit(int x, int y) {
    rightDown = true;
    if (TOGL* context = mainContext())
        context->beginDrag(kOrbitDrag, x, y);
}

void MouseListenerState::beginDolly(int x, int y) {
    middleDown = true;
    if (TOGL* context = mainContext())
        context->beginDrag(kDollyDrag, x, y);
}

void MouseListenerState::beginPan(int x, int y) {
    if (TOGL* context = mainContext())
        context->beginDrag(kPanDrag, x, y);
}

void MouseListenerState::endRightDrag() {
    rightDown = false;
    if (TOGL* context = mainContext())
        context->endDrag();
}

void MouseListenerState::endMiddleDrag() {
    middleDown = false;
    if (TOGL* context = mainContext())
        context->endDrag();
}

bool MouseListenerState::dragCameraWithButtons(int x, int y) {
    if (leftDown || !(rightDown || middleDown))
        return false;
    return dragCamera(x, y);
}

bool MouseListenerState::dragCamera(int x, int y) {
    TOGL* context = mainContext();
    if (!context || !context->dragCamera(x, y))
        return false;
    appController().redrawMainViewForCamera();
    return true;
}

void MouseListenerState::moveCameraWith(const Vector3& move) {
    if (TOGL* context = mainContext()) {
        const Camera& camera = context->camera();
        context->setCamera(camera.eye + move, camera.center + move, camera.up);
    }
}

void MouseListenerState::startStroke(Stroke& stroke, const Vector3& point) {
    leftDown = true;
    stroke.clear();
    stroke.add(point);
}

void MouseListenerState::extendStroke(Stroke& stroke, const Vector3& point) {
    if (!leftDown)
        return;
    stroke.add(point);
    redrawMainView();
}

void MouseListenerState::redrawMainView() {
    appController().redrawMainView();
}

void MouseListenerState::noteChange(unsigned changes, const std::string& step) {
    appController().noteChange(changes, step);
}

void deliverMouseMessage(MouseListenerState& listener, MouseMessage message, int x, int y) {
    switch (message) {
    case MouseMessage::LButtonUp:
        listener.onLButtonUp(x, y);
        break;
    case MouseMessage::RButtonUp:
        listener.onRButtonUp(x, y);
        break;
    case MouseMessage::MButtonUp:
        listener.onMButtonUp(x, y);
        break;
    case MouseMessage::LButtonDown:
        listener.onLButtonDown(x, y);
        break;
    case MouseMessage::RButtonDown:
        listener.onRButtonDown(x, y);
        break;
    case MouseMessage::MButtonDown:
        listener.onMButtonDown(x, y);
        break;
    case MouseMessage::LButtonDblClk:
        listener.onLButtonDblClk(x, y);
        break;
    case MouseMessage::RButtonDblClk:
        listener.onRButtonDblClk(x, y);
        break;
    case MouseMessage::MButtonDblClk:
        listener.onMButtonDblClk(x, y);
        break;
    case MouseMessage::MouseMove:
        listener.onMouseMove(x, y);
        break;
    }
}
