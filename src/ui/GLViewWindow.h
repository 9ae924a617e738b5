#pragma once

#include <QWindow>

class TOGL;

// A window that one TOGL draws into: it attaches the context once the platform
// window exists, keeps the viewport at the window's size in device pixels and
// releases the context when it goes. Mouse positions reach the subclasses in
// device pixels too, so that they match the viewport and the read-back buffers
// whatever the screen's pixel ratio.
class GLViewWindow : public QWindow {
public:
    explicit GLViewWindow(TOGL& context);
    ~GLViewWindow() override;

    // Paints now if the window is on screen.
    void renderNow();
    TOGL& context() const { return context_; }

protected:
    virtual void paintFrame() = 0;
    // The event's position in device pixels.
    QPoint devicePosition(const QPointF& logical) const;

    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void resizeContext();

    TOGL& context_;
    bool attached_ = false;
};
