#include "interaction/PlaneHits.h"

#include <utility>

namespace {

// Window depth of the point a pick ray is aimed through, and of the point just
// beyond the near plane that the petal-editing modes use.
constexpr double kPickRayDepth = 0.1;
constexpr double kNearPointDepth = 0.01;

double flippedY(const ViewTransform& view, double y) {
    return view.viewport.height - y;
}

} // namespace

bool unproject(const ViewTransform& view, double winX, double winY, double winZ, Vector3& out) {
    const Viewport& vp = view.viewport;
    if (vp.width == 0 || vp.height == 0)
        return false;
    Matrix4 inverse = view.projection * view.modelView;
    if (!inverse.invert())
        return false;
    // Window coordinates to normalised device coordinates in [-1, 1].
    const double in[4] = {(winX - vp.x) / vp.width * 2.0 - 1.0,
                          (winY - vp.y) / vp.height * 2.0 - 1.0, winZ * 2.0 - 1.0, 1.0};
    double result[4];
    for (int r = 0; r < 4; ++r) {
        result[r] = 0.0;
        for (int c = 0; c < 4; ++c)
            result[r] += inverse.at(r, c) * in[c];
    }
    if (result[3] == 0.0)
        return false;
    out = Vector3(result[0], result[1], result[2]) / result[3];
    return true;
}

Vector3 unprojectPixel(const ViewTransform& view, double x, double y, double depth) {
    Vector3 point;
    unproject(view, x, flippedY(view, y), depth, point);
    return point;
}

Vector3 pixelNearPoint(const ViewTransform& view, double x, double y) {
    return unprojectPixel(view, x, y, kNearPointDepth);
}

Vector3 projectToWindow(const ViewTransform& view, const Vector3& p) {
    const Matrix4 m = view.projection * view.modelView;
    double clip[4];
    for (int r = 0; r < 4; ++r)
        clip[r] = m.at(r, 0) * p.x + m.at(r, 1) * p.y + m.at(r, 2) * p.z + m.at(r, 3);
    const Viewport& v = view.viewport;
    const double x = v.x + (clip[0] / clip[3] + 1.0) / 2.0 * v.width;
    const double y = v.y + (clip[1] / clip[3] + 1.0) / 2.0 * v.height;
    return {x, v.height - y, (clip[2] / clip[3] + 1.0) / 2.0};
}

PickRay pickRay(const ViewTransform& view, const Vector3& eye, double x, double y) {
    return {eye, unit(unprojectPixel(view, x, y, kPickRayDepth) - eye)};
}

Vector3 hitPlaneZ0(const PickRay& ray) {
    const Vector3& e = ray.origin;
    const Vector3& d = ray.direction;
    if (d.z == 0.0)
        return {};
    return e - d * (e.z / d.z);
}

Vector3 hitPlaneY0(const PickRay& ray) {
    const Vector3& e = ray.origin;
    const Vector3& d = ray.direction;
    if (d.y == 0.0)
        return {};
    return e - d * (e.y / d.y);
}

Vector3 hitViewPlane(const PickRay& ray, const Vector3& center) {
    const Vector3& e = ray.origin;
    const Vector3& d = ray.direction;
    const Vector3 n = e - center;
    const double facing = dot(d, n);
    if (facing == 0.0)
        return {};
    return e - d * (dot(e, n) / facing);
}

bool rayThroughPointMeetsPlane(const Vector3& eye, const Vector3& q, const Vector3& p0,
                               const Vector3& n, Vector3& out) {
    const Vector3 d = unit(q - eye);
    const double facing = dot(n, d);
    if (facing == 0.0)
        return false;
    out = eye + d * ((dot(n, p0) - dot(n, eye)) / facing);
    return true;
}

Vector3 hitPlaneThroughPoint(const Vector3& eye, const Vector3& q, const Vector3& p0,
                             const Vector3& n) {
    Vector3 hit;
    rayThroughPointMeetsPlane(eye, q, p0, n, hit);
    return hit;
}

bool carryOntoPlane(const Vector3& eye, PointList& points, const Vector3& p0, const Vector3& n) {
    PointList carried(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        if (!rayThroughPointMeetsPlane(eye, points[i], p0, n, carried[i]))
            return false;
    points = std::move(carried);
    return true;
}
