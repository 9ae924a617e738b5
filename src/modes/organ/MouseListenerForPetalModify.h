#pragma once

#include "modes/ControlPointDrag.h"
#include "modes/MouseListenerState.h"
#include "interaction/Stroke.h"

class FlowerPetalNode;

// Editing the petal that is the work object (mode 10). The right button orbits
// the camera. With control points shown the left button drags the one under the
// cursor (a press beside every control point does nothing); otherwise it draws a
// bending stroke between control points of the petal's edge:
// - from the base to the tip, the petal bends along its midrib;
// - from one side edge to the other, the rows lift across the petal;
// - from the midrib out to one side, that side curls.
// The stroke is shown just beyond the near plane while it is drawn.
class MouseListenerForPetalModify : public MouseListenerState {
public:
    // Shorter bending strokes are ignored.
    static constexpr int kMinimumPoints = 4;

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
    void onDraw() override;
    virtual ~MouseListenerForPetalModify() = default;

    const ControlPointDrag& drag() const { return drag_; }
    bool drawing() const { return drawing_; }
    const Stroke& nearStroke() const { return nearStroke_; }
    const Stroke& planeStroke() const { return planeStroke_; }

private:
    // Applies the bending stroke drawn on the view plane to the petal; whether it
    // changed the petal.
    bool bend(FlowerPetalNode& petal) const;

    ControlPointDrag drag_;
    bool drawing_ = false;
    // The stroke as it is shown, at window depth 0.01.
    Stroke nearStroke_;
    // The same stroke on the view plane: the one that bends.
    Stroke planeStroke_;
};
