#pragma once

#include "math/Matrix4.h"
#include "math/Vector3.h"

#include <optional>

// Geometry the organ nodes share.

// The box that holds the origin and every one of `points` carried by `matrix`: an
// organ's box always holds the origin of the frame it is measured in.
template <typename Points>
void boxAroundOrigin(const Points& points, const Matrix4& matrix, Vector3& min, Vector3& max) {
    min = Vector3();
    max = Vector3();
    for (const Vector3& p : points)
        widenBox(min, max, transformPoint(matrix, p));
}

// Widens the box (min, max) to hold the box (otherMin, otherMax) too.
inline void widenBox(Vector3& min, Vector3& max, const Vector3& otherMin, const Vector3& otherMax) {
    widenBox(min, max, otherMin);
    widenBox(min, max, otherMax);
}

// The factor an organ scales by when its top control point, now `height` above its
// base, is dragged to `point`: the new height over the old. Nothing for an organ
// without height or a point at or below `lowest`, which would flatten or flip it.
inline std::optional<double> heightScale(double height, const Vector3& point, double lowest) {
    if (!(height > 0.0) || !(point.y > lowest))
        return std::nullopt;
    return point.y / height;
}
