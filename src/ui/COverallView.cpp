#include "ui/COverallView.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "ui/ViewManager.h"

#include <QMouseEvent>

namespace {

int dragKindFor(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return kPanDrag;
    case Qt::MiddleButton:
        return kDollyDrag;
    case Qt::RightButton:
        return kOrbitDrag;
    default:
        return kNoDrag;
    }
}

} // namespace

COverallView::COverallView() : GLViewWindow(*viewManager().overallContext()) {
    viewManager().setOverallView(this);
}

COverallView::~COverallView() {
    if (viewManager().overallView() == this)
        viewManager().setOverallView(nullptr);
}

void COverallView::paintFrame() {
    TOGL& gl = context();
    gl.beginFrame();
    appController().drawOverall(gl.frameContext(appController().drawRecords()));
    gl.endFrame();
}

void COverallView::mousePressEvent(QMouseEvent* event) {
    const int kind = dragKindFor(event->button());
    if (kind == kNoDrag)
        return;
    const QPoint at = devicePosition(event->position());
    context().beginDrag(kind, at.x(), at.y());
}

void COverallView::mouseReleaseEvent(QMouseEvent* event) {
    if (dragKindFor(event->button()) != kNoDrag)
        context().endDrag();
}

void COverallView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    context().resetCamera();
    renderNow();
}

void COverallView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton)
        return;
    const QPoint at = devicePosition(event->position());
    if (context().dragCamera(at.x(), at.y()))
        renderNow();
}
