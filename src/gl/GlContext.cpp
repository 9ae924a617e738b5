#include "gl/GlContext.h"

#include "gl/OpenGLSetup.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QWindow>

GlContext::GlContext() = default;

GlContext::~GlContext() {
    destroy();
}

QSurface* GlContext::surface() const {
    if (window_ != nullptr)
        return window_;
    return offscreenSurface_.get();
}

bool GlContext::create(QWindow* window) {
    destroy();
    if (window != nullptr) {
        if (window->surfaceType() != QSurface::OpenGLSurface) {
            // A native window that exists already cannot change its surface type.
            if (window->handle() != nullptr)
                return false;
            window->setSurfaceType(QSurface::OpenGLSurface);
        }
        if (window->handle() == nullptr)
            window->setFormat(viewSurfaceFormat());
        window->create();
        window_ = window;
    } else {
        offscreenSurface_ = std::make_unique<QOffscreenSurface>();
        offscreenSurface_->setFormat(viewSurfaceFormat());
        offscreenSurface_->create();
        if (!offscreenSurface_->isValid()) {
            destroy();
            return false;
        }
    }
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(viewSurfaceFormat());
    if (QOpenGLContext* shared = QOpenGLContext::globalShareContext())
        context->setShareContext(shared);
    if (!context->create() || !context->makeCurrent(surface())) {
        destroy();
        return false;
    }
    context_ = std::move(context);
    return true;
}

void GlContext::destroy() {
    if (context_) {
        makeCurrent();
        for (auto& target : offscreenTargets_)
            target.reset();
        doneCurrent();
    }
    context_.reset();
    offscreenSurface_.reset();
    window_ = nullptr;
}

void GlContext::makeCurrent() {
    if (context_)
        context_->makeCurrent(surface());
}

void GlContext::doneCurrent() {
    if (isCurrent())
        context_->doneCurrent();
}

bool GlContext::isCurrent() const {
    return context_ && QOpenGLContext::currentContext() == context_.get();
}

void GlContext::swapBuffers() {
    if (context_ && window_ != nullptr && window_->isExposed())
        context_->swapBuffers(window_);
}

bool GlContext::bindOffscreenTarget(int width, int height, Target which, int samples) {
    if (!context_ || width <= 0 || height <= 0)
        return false;
    const bool smoothed = which == Target::Smoothed;
    if (smoothed && !(QOpenGLFramebufferObject::hasOpenGLFramebufferBlit() && samples > 1))
        return false;
    std::unique_ptr<QOpenGLFramebufferObject>& target =
        offscreenTargets_[static_cast<int>(which)];
    if (!target || target->size() != QSize(width, height) ||
        (smoothed && smoothedSamples_ != samples)) {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        // No alpha channel, like the window: the cleared background reads back
        // opaque.
        format.setInternalTextureFormat(GL_RGB8);
        if (smoothed) {
            format.setSamples(samples);
            smoothedSamples_ = samples;
        }
        target.reset();
        target = std::make_unique<QOpenGLFramebufferObject>(width, height, format);
    }
    // Qt asks for fewer samples where the driver offers fewer, none where it cannot.
    if (smoothed && target->format().samples() < 2)
        return false;
    return target->isValid() && target->bind();
}

bool GlContext::resolveSmoothedTarget(bool intoWindow) {
    auto& smoothed = offscreenTargets_[static_cast<int>(Target::Smoothed)];
    if (!smoothed || !smoothed->isBound())
        return false;
    if (intoWindow) {
        QOpenGLFramebufferObject::blitFramebuffer(nullptr, smoothed.get(), GL_COLOR_BUFFER_BIT,
                                                  GL_NEAREST);
        bindDefaultTarget();
        return true;
    }
    const QSize size = smoothed->size();
    if (!bindOffscreenTarget(size.width(), size.height()))
        return false;
    auto& plain = offscreenTargets_[static_cast<int>(Target::ClientSize)];
    QOpenGLFramebufferObject::blitFramebuffer(plain.get(), smoothed.get(),
                                              GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
                                              GL_NEAREST);
    return plain->bind();
}

void GlContext::bindDefaultTarget() {
    if (context_)
        QOpenGLFramebufferObject::bindDefault();
}

bool GlContext::offscreenTargetBound() const {
    for (const auto& target : offscreenTargets_)
        if (target && target->isBound())
            return true;
    return false;
}

bool GlContext::anyCurrent() {
    return QOpenGLContext::currentContext() != nullptr;
}
