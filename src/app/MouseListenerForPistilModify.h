#pragma once

#include "app/ControlPointDrag.h"
#include "app/MouseListenerState.h"
#include "interaction/Stroke.h"

// Editing the pistil that is the work object (mode 14). The right button orbits
// the camera. With control points shown the left button drags the one under the
// cursor; elsewhere it draws a new axis on the view plane that the pistil moves
// onto.
class MouseListenerForPistilModify : public MouseListenerState {
public:
    void onLButtonUp(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    void onMButtonUp(int, int) override {}
    void onLButtonDown(int x, int y) override;
    void onRButtonDown(int x, int y) override;
    void onMButtonDown(int, int) override {}
    void onLButtonDblClk(int, int) override {}
    void onRButtonDblClk(int, int) override {}
    void onMButtonDblClk(int, int) override {}
    void onMouseMove(int x, int y) override;
    void onDraw() override { stroke_.drawSketch(); }
    virtual ~MouseListenerForPistilModify() = default;

    const ControlPointDrag& drag() const { return drag_; }
    bool drawing() const { return drawing_; }
    const Stroke& stroke() const { return stroke_; }

private:
    ControlPointDrag drag_;
    bool drawing_ = false;
    Stroke stroke_;
};
