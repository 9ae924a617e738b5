#include "ui/GLViewWindow.h"

#include "gl/OpenGLSetup.h"
#include "gl/TOGL.h"

#include <QExposeEvent>
#include <QResizeEvent>

#include <cmath>

GLViewWindow::GLViewWindow(TOGL& context) : context_(context) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(windowSurfaceFormat());
    create();
    attached_ = context_.attach(this);
    resizeContext();
}

GLViewWindow::~GLViewWindow() {
    if (attached_)
        context_.release();
}

void GLViewWindow::renderNow() {
    if (!attached_ || !isExposed())
        return;
    paintFrame();
}

QPoint GLViewWindow::devicePosition(const QPointF& logical) const {
    const qreal ratio = devicePixelRatio();
    return {static_cast<int>(std::floor(logical.x() * ratio)),
            static_cast<int>(std::floor(logical.y() * ratio))};
}

void GLViewWindow::exposeEvent(QExposeEvent*) {
    renderNow();
}

void GLViewWindow::resizeEvent(QResizeEvent*) {
    resizeContext();
}

void GLViewWindow::resizeContext() {
    const qreal ratio = devicePixelRatio();
    context_.resize(static_cast<int>(std::lround(width() * ratio)),
                    static_cast<int>(std::lround(height() * ratio)), false);
}
