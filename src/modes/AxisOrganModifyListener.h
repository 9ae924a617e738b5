#pragma once

#include "modes/ControlPointDrag.h"
#include "modes/MouseListenerState.h"
#include "interaction/Stroke.h"

#include <string>

class FlowerObjectNode;

// What editing a one-axis organ (stamen, pistil) that is the work object shares:
// the right button orbits the camera; with control points shown the left button
// drags the one under the cursor; elsewhere it draws a stroke on the view plane,
// which the organ's mode turns into its edit on release. The dragged point or the
// edit shows at once, and picks find it where it now is.
class AxisOrganModifyListener : public MouseListenerState {
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

    const ControlPointDrag& drag() const { return drag_; }
    bool drawing() const { return drawing_; }
    const Stroke& stroke() const { return stroke_; }

protected:
    // Whether a left press away from the control points starts a stroke.
    virtual bool mayDraw() const { return true; }
    // A stroke has started with the press; `work` is the work object, if any.
    virtual void strokeStarted(FlowerObjectNode*) {}
    // The stroke is complete: the organ's edit. The edit's step name, empty when the
    // stroke changed nothing.
    virtual std::string finishStroke(const Stroke& stroke) = 0;

private:
    ControlPointDrag drag_;
    bool drawing_ = false;
    Stroke stroke_;
};
