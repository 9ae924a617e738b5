#include "interaction/StrokeGeometry.h"

#include <algorithm>
#include <cmath>

double distanceToLine(const Vector3& A, const Vector3& B, const Vector3& Q) {
    return distanceToAxis(Q, A, B - A);
}

double distanceToAxis(const Vector3& X, const Vector3& O, const Vector3& D) {
    // The direction is normalised here as well, so that a caller's slightly
    // non-unit ray does not scale the distance; a zero direction leaves the
    // distance to O itself.
    const Vector3 d = unit(D);
    const Vector3 offset = X - O;
    return (offset - d * dot(offset, d)).length();
}

double signedAngle(const Vector3& a, const Vector3& b, const Vector3& n) {
    const double c = std::clamp(dot(unit(a), unit(b)), -1.0, 1.0);
    const double angle = std::acos(c);
    return dot(cross(a, b), n) < 0.0 ? -angle : angle;
}

ClosestApproach closestApproach(const Vector3& P1, const Vector3& D1, const Vector3& P2,
                                const Vector3& D2) {
    const Vector3 d1 = unit(D1);
    const Vector3 d2 = unit(D2);
    double s = 0.0;
    double t = 0.0;
    if ((d1 - d2).length() < 0.00001 || (d1 + d2).length() < 0.000001) {
        t = dot(P1 - P2, d2);
    } else {
        const Vector3 q = P2 - P1;
        const double c = dot(d1, d2);
        const double q1 = dot(q, d1);
        const double q2 = dot(q, d2);
        s = (q1 - c * q2) / (1.0 - c * c);
        t = (c * q1 - q2) / (1.0 - c * c);
    }
    return {distance(P1 + d1 * s, P2 + d2 * t), s};
}

namespace {

// Below this length the cross product of two unit vectors is mostly rounding
// noise: its direction can no longer serve as a rotation axis, and the angle it
// stands for is far below anything a stroke can express.
constexpr double kParallelCross = 1e-12;

// A fixed axis perpendicular to the unit vector u.
Vector3 perpendicularTo(const Vector3& u) {
    const Vector3 axis = cross(u, {1.0, 0.0, 0.0});
    if (axis.length() > 0.1)
        return unit(axis);
    return unit(cross(u, {0.0, 1.0, 0.0}));
}

} // namespace

RotationBetween rotationBetween(const Vector3& u, const Vector3& v) {
    RotationBetween result;
    if (u.lengthSquared() == 0.0 || v.lengthSquared() == 0.0)
        return result;
    const Vector3 un = unit(u);
    const Vector3 vn = unit(v);
    const Vector3 a = cross(un, vn);
    if (a.length() <= kParallelCross) {
        // Opposite directions have no cross product to turn about, but every axis
        // perpendicular to u gives the half turn; a fixed one keeps the result
        // reproducible.
        if (dot(un, vn) < 0.0) {
            result.axis = perpendicularTo(un);
            result.matrix.setRotationAxis(result.axis, -1.0, 0.0);
        }
        return result;
    }
    result.axis = unit(a);
    const double angle = signedAngle(un, vn, a);
    result.matrix.setRotationAxis(result.axis, std::cos(angle), std::sin(angle));
    return result;
}
