#include "ui/GLViewWindow.h"

#include "gl/TOGL.h"

#include <QExposeEvent>
#include <QResizeEvent>

#include <cmath>

GLViewWindow::GLViewWindow(TOGL& context) : context_(context) {
    setSurfaceType(QSurface::OpenGLSurface);
    create();
    attached_ = context_.attach(this);
    resizeContext();
    rest_.setSingleShot(true);
    rest_.setInterval(kRestMs);
    connect(&rest_, &QTimer::timeout, this, [this] { paint(kRestSamples); });
}

GLViewWindow::~GLViewWindow() {
    if (attached_)
        context_.release();
}

void GLViewWindow::renderNow() {
    paint(1);
    if (attached_ && isExposed())
        rest_.start();
}

void GLViewWindow::paint(int samples) {
    if (!attached_ || !isExposed())
        return;
    context_.setSmoothing(samples);
    paintFrame();
    context_.setSmoothing(1);
    restingFrame_ = samples > 1;
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
