#pragma once

#include "modes/BranchTurnDrag.h"
#include "modes/scene/SceneListener.h"

// The scene editing mode (1): the focus, a plant or a part of one, edited in its
// place with the rest of the scene as context. What the left button does follows
// the drawing tool chosen when it went down:
// - Pen: a stroke that starts on the focus's main axis grows a branch there
//   carrying the library view's selection; from the axis's tip it extends the axis.
// - Axis Modify: a stroke from the axis's tip redraws the axis, keeping how far
//   each of its points lay from the viewer.
// - Cursor: dragging a part turns the branch that carries it.
// - Eraser: the part of the focus under the cursor goes.
// - Browsing: pans the camera.
// A double click flies the focus down to the part under the cursor, or up one
// level over empty space. A right click adds the branch under the cursor to the
// candidates, a right double click selects the branches alike it; over empty space
// both drop the candidates.
class MouseListenerForSceneModify final : public SceneListener {
public:
    // Shorter branch and axis strokes change nothing.
    static constexpr int kMinimumPoints = 6;
    // How near the pick ray must pass the axis for a branch stroke, and its tip for
    // an axis stroke.
    static constexpr double kAxisReach = 0.01;
    static constexpr double kTipReach = 0.03;

    void onLButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onLButtonDblClk(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    void onRButtonDblClk(int x, int y) override;

private:
    bool dragLeft(int x, int y) override;
    void startBranch(const FlowerObjectComposite& focus, const Matrix4& matrix, int x, int y);
    // The step name of the change, empty when the stroke grew nothing.
    std::string finishBranch(FlowerObjectComposite& focus, const Matrix4& matrix);
    void startAxis(const FlowerObjectNode& focus, const Matrix4& matrix, int x, int y);
    bool finishAxis(FlowerObjectNode& focus, const Matrix4& matrix);

    // Where a branch stroke starts on the axis: its arc length from the base, and
    // whether it is the axis's last point.
    double axisLength_ = 0.0;
    bool atTip_ = false;
    BranchTurnDrag turn_;
};
