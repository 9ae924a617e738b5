#pragma once

#include "modes/ControlPointDrag.h"
#include "modes/MouseListenerState.h"
#include "interaction/Stroke.h"

#include <string>

class FlowerObjectNode;

// What editing the organ that is the work object shares (petal, stamen, pistil):
// the right button orbits the camera; with control points shown the left button
// drags the one under the cursor; elsewhere it draws a stroke on the view plane,
// which the organ's mode turns into its edit on release. The dragged point or the
// edit shows at once, and picks find it where it now is. The middle button does
// nothing.
class OrganModifyListener : public MouseListenerState {
public:
    void onLButtonUp(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onRButtonDown(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext&) override { stroke_.drawSketch(); }

    const ControlPointDrag& drag() const { return drag_; }
    bool drawing() const { return drawing_; }

protected:
    ~OrganModifyListener() = default;

    // The object whose control point a press picked, null to drag nothing: the work
    // object unless the mode says otherwise.
    virtual FlowerObjectNode* dragTarget(const PickedControlPoint& picked) const;
    // Whether a left press that drags no control point starts a stroke.
    virtual bool mayDraw() const { return true; }
    // A stroke has started with the press at (x, y); `work` is the work object, if any.
    virtual void strokeStarted(int, int, FlowerObjectNode*) {}
    // The stroke is about to take the point under (x, y).
    virtual void strokeExtended(int, int) {}
    // The stroke is complete: the organ's edit. The edit's step name, empty when the
    // stroke changed nothing.
    virtual std::string finishStroke(const Stroke& stroke) = 0;
    // A control point of `target` has been dragged and let go.
    virtual void dragFinished(FlowerObjectNode&) {}

private:
    ControlPointDrag drag_;
    bool drawing_ = false;
    Stroke stroke_;
};
