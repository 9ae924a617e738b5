#pragma once

#include "ui/GLViewWindow.h"

// The overall window's view: the open scene from its own camera, which the mouse
// pans (left), dollies (middle) and orbits (right); a left double click brings the
// camera home.
class COverallView final : public GLViewWindow {
public:
    COverallView();
    ~COverallView() override;

protected:
    void paintFrame() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
