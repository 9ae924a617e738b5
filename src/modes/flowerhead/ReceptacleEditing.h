#pragma once

#include "interaction/Stroke.h"
#include "math/Matrix4.h"
#include "modes/CameraButtonListener.h"

class FlowerTorusNode;

// The receptacle an editing mode works on and the matrix that places it in the world.
struct EditedReceptacle {
    FlowerTorusNode* node = nullptr;
    Matrix4 model;
};

// A drag that turns organs in their slots: the drag as a world vector, and the angle
// (radians) it turns by.
struct OrganTurn {
    Vector3 drag;
    double angle = 0.0;
};

// What editing a flower head shares, whether it is the work object or the focus of a
// scene. The drawing tool decides the left button:
// - Pen with the wire frame shown redraws the profile, which always ends at the
//   receptacle's base; with the wire frame hidden it draws an organ, a copy of the
//   library selection, into the empty slot under the press.
// - Cursor drags a control point of an organ in a slot, and the same point of every
//   organ of the same kind in that whorl, or the receptacle's own control point; on
//   an organ's body it turns the organ, and the whole whorl with it.
// - Eraser takes the organs it passes over out of their slots.
// - Browsing pans.
// The right button orbits for these four tools, the middle button dollies.
//
// The receptacle is held by its id from the press on: if another receptacle is edited
// by the time the mouse moves or comes up, the action does nothing more. Slots are
// found again through the organs they hold at every use, so slots the floral diagram
// adds or removes meanwhile are never mistaken for the ones the press found.
class ReceptacleEditing : public CameraButtonListener {
public:
    // Organ strokes with fewer points carry no direction and attach nothing.
    static constexpr int kMinimumOrganPoints = 3;
    static constexpr int kMinimumProfilePoints = 3;
    static constexpr Rgba kDrawingBoardColour{0.8f, 0.8f, 0.0f, 0.5f};

    void onLButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext& draw) override;

protected:
    ~ReceptacleEditing() = default;

    // The four tools of the receptacle edits: Pen, Cursor, Eraser and Browsing.
    bool orbitsWith(int tool) const override;

    // The receptacle the mode edits now; no node when there is none.
    virtual EditedReceptacle currentReceptacle() const = 0;
    // The board the profile is drawn on, under the receptacle's model matrix.
    virtual void drawGuideBoard(const FlowerTorusNode& receptacle) const = 0;
    // The turn of a Cursor drag on an organ from one pixel to the next.
    virtual OrganTurn turnBetween(int fromX, int fromY, int toX, int toY) const = 0;

    // A press with a tool the receptacle edits do not use (the mode's own tools);
    // whether the mode took it, to be given the drag's moves.
    virtual bool pressOtherTool(int, int, int) { return false; }
    virtual void dragOtherTool(int, int) {}
    // The receptacle's own control point moved: whatever holds it follows.
    virtual void receptacleReshaped() {}
    // The window depth of the Cursor's pick (1.0 when none).
    float pickDepth() const { return depth_; }
    // Forgets the action under way.
    void reset();

    // The slot selection (the floral diagram's) under the pixel changes: an organ's
    // slot is selected or deselected (a selected organ shows its control points), a
    // pixel showing nothing deselects every slot.
    void toggleSelectionAt(int x, int y);

private:
    enum class Action { None, Pan, Profile, Organ, PointDrag, Turn, Erase, Other };

    // The receptacle held since the press, null when it is no longer the one edited.
    FlowerTorusNode* heldReceptacle() const;
    void startProfile(const FlowerTorusNode& torus, int x, int y);
    void startOrgan(const FlowerTorusNode& torus, int x, int y);
    void startCursor(FlowerTorusNode& torus, int x, int y);
    void erase(int x, int y);
    void finishProfile();
    void finishOrgan();
    bool dragPoint(int x, int y);
    bool turnOrgan(int x, int y);
    // A point of the profile plane (the receptacle's z = 0) under the pixel.
    Vector3 onProfilePlane(int x, int y) const;

    Action action_ = Action::None;
    int receptacleId_ = -1;
    Matrix4 model_;
    Stroke stroke_;
    // The organ stroke's slot and the plane it is drawn on (world coordinates).
    int slotWhorl_ = -1;
    int slotIndex_ = -1;
    Vector3 slotSide_;
    Vector3 planePoint_;
    Vector3 planeNormal_;
    // The Cursor's organ (the receptacle's own id for its control point) and point.
    int organId_ = -1;
    int row_ = -1;
    int column_ = -1;
    float depth_ = 1.0f;
    int lastX_ = 0;
    int lastY_ = 0;
    bool edited_ = false;
};
