#pragma once

#include "math/Matrix4.h"

#include <array>

// A placement that only turns and moves: glTF can then write it as translation and
// rotation, which an animation channel can drive. A library file keeps six decimals,
// so a placement read back is a rotation only to about that precision.
bool isRigid(const Matrix4& m);

// The unit quaternion (x, y, z, w) of a rigid placement's rotation, made exactly unit
// for a rotation read back from a file.
std::array<double, 4> quaternionOf(const Matrix4& m);

// The rotation of a unit quaternion (x, y, z, w).
Matrix4 rotationOf(const std::array<double, 4>& q);

// The placement `share` of the way from `from` to `to` (exactly `from` at 0 and `to`
// at 1): two rigid placements turn on the short way between their rotations while
// their origins move on a straight line, so an organ keeps its shape on the way;
// other placements are mixed element by element.
Matrix4 blendPlacements(const Matrix4& from, const Matrix4& to, double share);
