#pragma once

#include "math/Matrix4.h"
#include "math/Vector3.h"

// Distance of Q from the infinite line through A and B.
double distanceToLine(const Vector3& A, const Vector3& B, const Vector3& Q);
// Distance of X from the line through O with unit direction D.
double distanceToAxis(const Vector3& X, const Vector3& O, const Vector3& D);
// The angle between a and b (radians), negative when (a x b) . n < 0.
double signedAngle(const Vector3& a, const Vector3& b, const Vector3& n);

struct ClosestApproach {
    double distance = 0.0;
    double s = 0.0; // parameter of the closest point on the first line
};
// Closest approach of the lines P1 + s D1 and P2 + t D2.
ClosestApproach closestApproach(const Vector3& P1, const Vector3& D1, const Vector3& P2,
                                const Vector3& D2);

struct RotationBetween {
    Matrix4 matrix;
    Vector3 axis{0.0, 0.0, 1.0};
};
// The rotation taking direction u onto direction v. A zero vector, or parallel
// directions, give the identity; exactly opposite directions give a half turn
// about a fixed axis perpendicular to u.
RotationBetween rotationBetween(const Vector3& u, const Vector3& v);
