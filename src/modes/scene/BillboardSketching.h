#pragma once

#include "interaction/Stroke.h"
#include "math/Matrix4.h"
#include "math/Vector3.h"
#include "model/PickColour.h"

#include <string>

struct DrawContext;
class SceneRoot;
class TOGL;

// The billboard tools of the scene modes: free sketches that stand in for branches,
// flowers or leaves not modelled yet. A stroke from a plant's axis tip extends the
// axis by a new billboard, one from elsewhere on the axis grows it as a branch, one
// from the ground plants it; further strokes add to the billboard last drawn or
// clicked, on its own plane. The billboard and the composite it grows from are held
// by id.
class BillboardSketching {
public:
    enum State : int {
        kNone = 0,
        kEditing = 1, // strokes go to the billboard being edited
        kFromTip = 2,
        kFromAxis = 3,
        kFromGround = 4,
    };

    // The tools that draw billboards.
    static bool isTool(int tool);

    int state() const { return state_; }
    int billboardId() const { return billboardId_; }
    void reset();
    // A different scene or focus than the one the state was made in resets it.
    void follow(int seenId);

    // The billboard whose stroke the pick names becomes the one edited, with the
    // flower billboard tool and its colour; whether the pick named one. Only
    // billboards below `withinId` count unless it is -1.
    bool select(SceneRoot& scene, int pickedId, bool strokePicked, int withinId);
    // Where a billboard tool's stroke starts: on the edited billboard's plane, else
    // at the axis of the scene's plants (of the focus composite `withinId`) within
    // reach of the pixel's ray, else on the ground. Sets the plane and the first
    // point; false when there is no view.
    bool start(SceneRoot& scene, const TOGL& view, int x, int y, int withinId, Vector3& planePoint,
               Vector3& planeNormal);
    // As `start`, and where the stroke's first point lies: under the pixel on the
    // edited billboard's plane, else at the plane point.
    bool startStroke(SceneRoot& scene, const TOGL& view, int x, int y, int withinId,
                     Vector3& planePoint, Vector3& planeNormal, Vector3& first);
    // Finishes the stroke drawn in world coordinates with tool `tool`: the step name
    // of the change, empty when nothing changed.
    std::string finish(SceneRoot& scene, const Stroke& stroke, int tool);
    // A left release in a scene mode: a stroke `drawn` with a billboard tool is
    // finished; a click with the Cursor, Browsing or a billboard tool selects the
    // billboard `pick` names, or else drops the one edited and takes the Cursor. The
    // step name of the change, empty when the model did not change.
    std::string release(SceneRoot& scene, const Stroke& stroke, int tool, bool drawn, bool click,
                        const PickRecord& pick, int withinId);
    // The billboard being edited under its matrix, when one is.
    void drawEdited(SceneRoot& scene, const DrawContext& draw) const;

private:
    int state_ = kNone;
    int billboardId_ = -1;
    int ownerId_ = -1;
    double position_ = 0.0;
    int seenId_ = -1;
};
