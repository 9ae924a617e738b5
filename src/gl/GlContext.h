#pragma once

#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
class QSurface;
class QWindow;

// The Qt side of one view's OpenGL context: the context itself on a window or on an
// off-screen surface, and the off-screen framebuffer that snapshot and thumbnail
// frames render into. It is kept apart from the drawing code because Qt's context
// header must not be included after GLEW's.
class GlContext {
public:
    GlContext();
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    // Creates the context on the window (given the views' surface format when its
    // native window does not exist yet) or, for a null window, on an off-screen
    // surface, and makes it current. False when the window cannot take a GL
    // surface or the context cannot be created or made current.
    bool create(QWindow* window);
    // Deletes the framebuffer (with the context current) and the context.
    void destroy();
    bool valid() const { return context_ != nullptr; }

    void makeCurrent();
    void doneCurrent();
    bool isCurrent() const;
    // Shows the window's back buffer; a window that is not exposed has nothing to show.
    void swapBuffers();

    // The off-screen framebuffers: one of the client's size for pick frames and
    // windowless views, one small for thumbnails, so neither is remade for the other,
    // and a multisampled one of the client's size for smoothed frames, resolved into
    // the window's framebuffer before a swap or into the first before a read.
    enum class Target { ClientSize, Thumbnail, Smoothed };
    // Binds the off-screen framebuffer `target` at this size (no alpha, with depth),
    // making a new one when the size changed; the smoothed one with `samples` per
    // pixel, as many as the driver offers up to that. False when none can be made:
    // a smoothed one also when the driver cannot multisample or resolve it.
    bool bindOffscreenTarget(int width, int height, Target target = Target::ClientSize,
                             int samples = 0);
    // When the smoothed target is bound: resolves it into the window's framebuffer
    // (`intoWindow`, colour only) or into the client-size target, and binds that, so
    // that it can be swapped or read. False when that fails.
    bool resolveSmoothedTarget(bool intoWindow);
    // Back to the window's (or surface's) own framebuffer.
    void bindDefaultTarget();
    bool offscreenTargetBound() const;

    // Whether any GL context is current on this thread.
    static bool anyCurrent();

private:
    QSurface* surface() const;

    QWindow* window_ = nullptr;
    std::unique_ptr<QOffscreenSurface> offscreenSurface_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOpenGLFramebufferObject> offscreenTargets_[3];
    // The samples the smoothed target was asked for (the driver may give fewer).
    int smoothedSamples_ = 0;
};
