#pragma once

#include "model/LocalBox.h"

#include <vector>

struct DrawContext;
class FlowerObjectNode;
class SceneRoot;

// A soft dark patch on the floor (the plane y = 0) under an object: an ellipse over
// the object's footprint, darkest in its middle and fading to nothing at its rim.
// It ties a plant to the ground at the cost of a few dozen blended triangles,
// however many triangles the plant has, because it comes from the object's box
// alone (which the views' drawing cache keeps) and not from a pass over its surfaces.
struct GroundShadow {
    double centreX = 0.0;
    double centreZ = 0.0;
    // Half the ellipse's extent along x and along z, out to where it has faded.
    double radiusX = 0.0;
    double radiusZ = 0.0;
    // The darkening at its middle, 0 (none) to 1 (black).
    double strength = 0.0;
};

// The patch under an object whose box in its own frame is `box`, placed by
// `placement` (its frame in world coordinates): a little wider than the box's
// footprint, round enough under a thin stem or a flat petal to show, and fainter
// and wider the higher the box floats above the floor. Strength 0 for a box that
// lies wholly below the floor.
GroundShadow shadowUnder(const LocalBox& box, const Matrix4& placement);

// The patch under `object` placed by `placement`, and those under every plant of
// `scene`, from the boxes of what the frame draws (kept in the frame's drawing
// cache when it has one).
GroundShadow shadowOf(const FlowerObjectNode& object, const Matrix4& placement,
                      const DrawContext& draw);
std::vector<GroundShadow> shadowsOf(const SceneRoot& scene, const DrawContext& draw);

// The floor grid and then the patches on it, before the objects: the patches are
// blended over what the frame shows so far, without depth test or writes, so the
// objects drawn afterwards cover them. Nothing in a pick frame. The GL state it
// changes is restored.
void drawGround(const DrawContext& draw, const std::vector<GroundShadow>& shadows);
