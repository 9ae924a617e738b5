#pragma once

#include "interaction/Stroke.h"
#include "math/Matrix4.h"
#include "math/Vector3.h"

class FlowerPetalNode;
class TOGL;

// How the viewer sees a petal, everything in the petal's own frame.
struct PetalView {
    Vector3 eye;
    // Turns a direction of the petal's frame into the camera's.
    Matrix4 toCamera;
    Vector3 up;
};

// How the view's camera sees a petal whose model matrix is `model`.
PetalView petalViewOf(const TOGL& view, const Matrix4& model);

// Bends the petal by a stroke drawn on the view plane (points in the petal's frame),
// between control points of the petal's edge:
// - from the base to the tip, the petal bends along its midrib;
// - from one side edge to the other, the rows lift across the petal;
// - from the midrib out to one side, that side curls.
// `local` chooses the rule that moves only the rows near the stroke. Whether the
// petal changed.
bool bendPetal(FlowerPetalNode& petal, const Stroke& stroke, const PetalView& view, bool local);

// How close to the eye ray through a stroke's end an edge control point must lie for
// the stroke to start or end there.
inline constexpr double kPetalEdgeReach = 0.1;
