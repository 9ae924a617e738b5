#pragma once

#include "math/Matrix4.h"

// An axis-aligned box in an object's own frame.
struct LocalBox {
    Vector3 min;
    Vector3 max;

    // Corner i of the eight: bit 0 takes max.x, bit 1 max.y and bit 2 max.z, the
    // others the minimum.
    Vector3 corner(int i) const {
        return {i & 1 ? max.x : min.x, i & 2 ? max.y : min.y, i & 4 ? max.z : min.z};
    }
};

// The axis-aligned box around `box` moved by `placement`, in the frame that the
// placement puts it in.
LocalBox placedBox(const LocalBox& box, const Matrix4& placement);
