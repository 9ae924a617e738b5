#include "ui/CPelmoraView.h"

#include "control/AppController.h"
#include "modes/MouseListenerManager.h"
#include "gl/TOGL.h"
#include "ui/MouseMessages.h"
#include "ui/ViewManager.h"

CPelmoraView::CPelmoraView() : GLViewWindow(*viewManager().mainContext()) {
    viewManager().setMainView(this);
}

CPelmoraView::~CPelmoraView() {
    if (viewManager().mainView() == this)
        viewManager().setMainView(nullptr);
}

void CPelmoraView::paintFrame() {
    TOGL& gl = context();
    gl.beginFrame();
    const DrawContext draw = gl.frameContext(appController().drawRecords());
    appController().drawMainView(draw);
    mouseListenerManager().drawMainOverlay(draw);
    gl.endFrame();
}

void CPelmoraView::forwardMouse(QMouseEvent* event) {
    const auto message = mouseMessageFor(*event);
    if (!message)
        return;
    const QPoint at = devicePosition(event->position());
    mouseListenerManager().mainViewMessage(*message, at.x(), at.y());
}

void CPelmoraView::mousePressEvent(QMouseEvent* event) {
    forwardMouse(event);
}

void CPelmoraView::mouseReleaseEvent(QMouseEvent* event) {
    forwardMouse(event);
}

void CPelmoraView::mouseDoubleClickEvent(QMouseEvent* event) {
    forwardMouse(event);
}

void CPelmoraView::mouseMoveEvent(QMouseEvent* event) {
    forwardMouse(event);
}
