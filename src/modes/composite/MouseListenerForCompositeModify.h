#pragma once

#include "interaction/Stroke.h"
#include "math/Vector3.h"
#include "modes/BranchTurnDrag.h"
#include "modes/CameraButtonListener.h"

#include <string>

class FlowerObjectComposite;

// Growing the plant that is the work object (mode 7). What the left button does
// follows the drawing tool chosen when it went down:
// - Pen: a stroke from the point of the main axis nearest to the cursor, drawn on
//   the plane through that point facing the camera, grows a branch there carrying
//   the object selected in the library; from the axis's last point it extends the
//   axis instead.
// - Eraser: the branch (or a later piece of the main axis) under the cursor goes,
//   at the press and at every move; the plant itself and its first piece stay.
// - Cursor: dragging a part turns the branch that carries it within its holder.
// - Browsing: pans the camera.
// The right button orbits (Pen, Cursor, Eraser, Browsing), the middle button
// dollies. A double click marks the plant for one picture. The press reads the
// work object afresh and the later events find it again by its id; while the work
// object is not a plant the left button does nothing.
class MouseListenerForCompositeModify final : public CameraButtonListener {
public:
    // Shorter branch strokes grow nothing.
    static constexpr int kMinimumPoints = 3;

    void onLButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onLButtonDblClk(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext& draw) override;

private:
    // Pen, Cursor, Eraser and Browsing.
    bool orbitsWith(int tool) const override;
    // The work plant the left button went down on; null once it is gone.
    FlowerObjectComposite* target() const;
    void startBranch(const FlowerObjectComposite& target, int x, int y);
    // The step name of the change, empty when the stroke grew nothing.
    std::string finishBranch(FlowerObjectComposite& target, int x, int y);
    // Whether something was erased under the pixel.
    bool eraseUnder(FlowerObjectComposite& target, int x, int y);
    // Whether the drag to (x, y) turned the branch.
    bool turnTo(FlowerObjectComposite& target, int x, int y);
    void clear();

    int tool_ = -1;
    int targetId_ = -1;
    Stroke stroke_;
    Vector3 planePoint_;
    Vector3 planeNormal_;
    // Where the branch stroke starts on the main axis (the plane point): the index
    // of the axis point nearest to the pick ray and its arc length from the base;
    // index -1 while no branch stroke is being drawn.
    int axisIndex_ = -1;
    double axisLength_ = 0.0;
    BranchTurnDrag turn_;
    bool turned_ = false;
    bool targetMarked_ = false;
};
