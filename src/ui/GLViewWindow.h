#pragma once

#include <QTimer>
#include <QWindow>

class TOGL;

// A window that one TOGL draws into: it attaches the context once the platform
// window exists, keeps the viewport at the window's size in device pixels and
// releases the context when it goes. Mouse positions reach the subclasses in
// device pixels too, so that they match the viewport and the read-back buffers
// whatever the screen's pixel ratio.
//
// Smooth edges at rest: every paint is drawn as fast as it can be, and once the
// picture has stood still for kRestMs the same picture is painted once more with
// kRestSamples samples per pixel. Multisampling costs the software rasteriser
// several times a frame, so orbits, flights and drags keep their frame rate and
// the picture a person looks at is smooth.
class GLViewWindow : public QWindow {
public:
    explicit GLViewWindow(TOGL& context);
    ~GLViewWindow() override;

    static constexpr int kRestMs = 250;
    static constexpr int kRestSamples = 4;

    // Paints now if the window is on screen, and smooths it once it rests.
    void renderNow();
    // Whether the last paint was the smoothed one of a picture at rest.
    bool showsRestingFrame() const { return restingFrame_; }
    TOGL& context() const { return context_; }

protected:
    virtual void paintFrame() = 0;
    // The event's position in device pixels.
    QPoint devicePosition(const QPointF& logical) const;

    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void resizeContext();
    void paint(int samples);

    TOGL& context_;
    bool attached_ = false;
    bool restingFrame_ = false;
    QTimer rest_;
};
