#pragma once

#include "math/Matrix4.h"
#include "math/PointSequence.h"
#include "math/Vector3.h"

// The GL viewport rectangle: origin at the bottom left, in pixels.
struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What turns window pixels into world points: the model-view and projection
// matrices of the view and its viewport.
struct ViewTransform {
    Matrix4 modelView;
    Matrix4 projection;
    Viewport viewport;
};

// The world point at window position (winX, winY) (GL convention, y up) and window
// depth winZ (0 near plane, 1 far plane), as gluUnProject computes it. False, and
// `out` untouched, when the transform is singular or the point lies at infinity.
bool unproject(const ViewTransform& view, double winX, double winY, double winZ, Vector3& out);

// The pixel mappings below take window client coordinates, y growing downwards,
// and flip them to viewport y as viewport height - y. A singular transform gives
// the zero vector.

// The world point under the pixel at window depth `depth`.
Vector3 unprojectPixel(const ViewTransform& view, double x, double y, double depth);
// A world point just beyond the near plane under the pixel.
Vector3 pixelNearPoint(const ViewTransform& view, double x, double y);
// Where a world point in front of the eye is seen: its window client position in x
// and y (not rounded) and its window depth in z; the inverse of unprojectPixel.
Vector3 projectToWindow(const ViewTransform& view, const Vector3& p);

struct PickRay {
    Vector3 origin;
    Vector3 direction; // unit length
};

// The ray from the eye through the pixel.
PickRay pickRay(const ViewTransform& view, const Vector3& eye, double x, double y);

// Where the ray meets a plane; the zero vector when it runs parallel to it.
Vector3 hitPlaneZ0(const PickRay& ray);
Vector3 hitPlaneY0(const PickRay& ray);
// The plane through the world origin facing the camera (normal eye - center).
Vector3 hitViewPlane(const PickRay& ray, const Vector3& center);
// Where the ray from the eye through q meets the plane through p0 with normal n.
Vector3 hitPlaneThroughPoint(const Vector3& eye, const Vector3& q, const Vector3& p0,
                             const Vector3& n);
// As hitPlaneThroughPoint, telling a parallel ray apart from a hit at the origin:
// false, and `out` untouched, when the ray runs parallel to the plane.
bool rayThroughPointMeetsPlane(const Vector3& eye, const Vector3& q, const Vector3& p0,
                               const Vector3& n, Vector3& out);
// Carries every point along its ray from the eye onto the plane through p0 with
// normal n. False, and the points untouched, when any of the rays runs parallel.
bool carryOntoPlane(const Vector3& eye, PointList& points, const Vector3& p0, const Vector3& n);
