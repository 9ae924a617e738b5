#pragma once

#include "app/ControlPointDrag.h"
#include "app/MouseListenerState.h"
#include "interaction/Stroke.h"

// Editing the stamen that is the work object (mode 12). The right button orbits
// the camera. With control points shown the left button drags the one under the
// cursor; elsewhere it draws the anther, which is carried onto the plane through
// the filament's end that faces the camera.
class MouseListenerForStamenModify : public MouseListenerState {
public:
    // Shorter anther strokes are ignored.
    static constexpr int kMinimumPoints = 3;

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
    virtual ~MouseListenerForStamenModify() = default;

    const ControlPointDrag& drag() const { return drag_; }
    bool drawing() const { return drawing_; }
    const Stroke& stroke() const { return stroke_; }

private:
    // The stroke on the plane through the filament's end facing the camera becomes
    // the anther; nothing happens when a ray runs parallel to that plane.
    void giveAnther();

    ControlPointDrag drag_;
    bool drawing_ = false;
    // The work object at the press, while the anther is drawn.
    int targetId_ = -1;
    Stroke stroke_;
};
