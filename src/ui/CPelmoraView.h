#pragma once

#include "ui/GLViewWindow.h"

// The main 3D view: the floor, the controller's main-view drawing and the current
// mode's overlay; its mouse messages go to the current mode.
class CPelmoraView final : public GLViewWindow {
public:
    CPelmoraView();
    ~CPelmoraView() override;

protected:
    void paintFrame() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void forwardMouse(QMouseEvent* event);
};
