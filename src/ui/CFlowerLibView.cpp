#include "ui/CFlowerLibView.h"

#include "control/LibraryViewPainter.h"
#include "modes/MouseListenerManager.h"
#include "ui/MouseMessages.h"
#include "ui/ViewManager.h"

#include <QPainter>

CFlowerLibView::CFlowerLibView(QWidget* parent) : QWidget(parent) {
    // The painter covers every pixel: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    viewManager().setLibraryView(this);
}

CFlowerLibView::~CFlowerLibView() {
    if (viewManager().libraryView() == this)
        viewManager().setLibraryView(nullptr);
}

void CFlowerLibView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, libraryViewPainter().paint(width(), height()));
}

void CFlowerLibView::forwardMouse(QMouseEvent* event) {
    const auto message = mouseMessageFor(*event);
    if (!message)
        return;
    const QPoint at = event->position().toPoint();
    mouseListenerManager().libraryViewMessage(*message, at.x(), at.y());
}

void CFlowerLibView::mousePressEvent(QMouseEvent* event) {
    forwardMouse(event);
}

void CFlowerLibView::mouseReleaseEvent(QMouseEvent* event) {
    forwardMouse(event);
}

void CFlowerLibView::mouseDoubleClickEvent(QMouseEvent* event) {
    forwardMouse(event);
}

void CFlowerLibView::mouseMoveEvent(QMouseEvent* event) {
    forwardMouse(event);
}
