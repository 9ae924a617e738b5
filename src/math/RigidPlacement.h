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
