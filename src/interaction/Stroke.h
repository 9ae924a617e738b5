#pragma once

#include "math/Matrix4.h"
#include "math/PointSequence.h"
#include "math/Rgba.h"
#include "math/Vector3.h"

#include <cstdint>

// A pen stroke: the points a mouse drag leaves on a plane, in drawing order, with
// an overlay colour. Main axes, outlines and profiles are strokes too. Every
// operation is plain geometry on the points; only the overlay draws look at the
// render state (they draw nothing while the main view renders its pick snapshot).
class Stroke {
public:
    PointList points;
    Rgba color{0.0f, 0.0f, 1.0f, 0.5f};

    Stroke() = default;
    explicit Stroke(PointList pts) : points(std::move(pts)) {}

    int size() const { return static_cast<int>(points.size()); }
    bool empty() const { return points.empty(); }
    void clear() { points.clear(); }
    void add(const Vector3& p) { points.push_back(p); }
    const Vector3& front() const { return points.front(); }
    const Vector3& back() const { return points.back(); }

    // --- Drawing: GL_LINES segments with flat shading and lighting off; nothing for
    // fewer than 2 points.
    // In the pick colour given as three bytes, blending off. Draws in any frame.
    void drawForPick(std::uint8_t red, std::uint8_t green, std::uint8_t blue, float width) const;
    // In the stroke's own colour.
    void drawColored(float width) const;
    // The overlay of a stroke in progress: width 4 in its colour, then every point
    // but the first as a cyan dot of size 5. For normal frames: callers leave it out
    // of a pick snapshot.
    void drawSketch() const;
    // Blended, without depth writes. For normal frames, as drawSketch.
    void drawTranslucent(float width) const;

    // --- Measuring
    double length() const { return polylineLength(points); }

    struct PointAtLength {
        Vector3 point;
        Vector3 direction; // unit, except beyond the end (the last segment vector)
        int segment = 0;   // index of the segment's first point
    };
    // The point at arc length L from the start. Beyond the end: the last point, the
    // unnormalised last segment and index n - 1. Fewer than 2 points: all zero.
    PointAtLength pointAtLength(double L) const;
    // The point of the polyline closest to P; zero for fewer than 2 points.
    Vector3 nearestPoint(const Vector3& P) const;
    // Arc length from the start to the point nearest to P; 0 for fewer than 2 points.
    double lengthToNearest(const Vector3& P) const;

    struct RayPick {
        double distance = 1000000.0;
        Vector3 point;
        int index = 0;
        double arcLength = 0.0;
    };
    // Distance from the ray (origin O, unit direction D) to the stroke, the nearest
    // point, its vertex index and its arc length from the start.
    RayPick pickWithRay(const Vector3& origin, const Vector3& direction) const;
    // The x where the polyline first rises above height y; the last x if it never does.
    double xAtHeight(double y) const { return ::xAtHeight(points, y); }
    // Every point as a "%f %f %f" line, as one diagnostic message (math/Diagnostics.h).
    void printPoints() const;

    // --- Reshaping
    // Appends to target N + 1 points at equal arc-length spacing along source, the
    // last exactly on source's last point. A zero-length source gives N + 2 points at
    // the origin; N < 1 appends nothing.
    static void resample(int N, const Stroke& source, Stroke& target);
    // resample into N segments in place; a zero-length stroke is left unchanged.
    void resampleInPlace(int N);
    // Appends count samples of the uniform cubic B-spline over source's points; a
    // source of fewer than 2 points is copied unchanged.
    static void splineResample(const Stroke& source, Stroke& target, int count);
    // splineResample with as many samples as points, in place.
    void splineSmooth();
    // One pass of the 1-2-1 filter; the end points stay.
    void smooth121();
    // Removes the small hooks a pen leaves at both ends: at most 7 points at the
    // start and 3 at the end. Strokes of fewer than 9 points are left as they are.
    void removeHooks();
    // Moves each end point one unit further out along its end segment.
    void extendEnds();
    // Cut away everything before P (which lies on the stroke) and start at P. False,
    // and the stroke unchanged, when P lies on the last segment or on none.
    bool cutHeadAt(const Vector3& P);
    // Cut away everything after P and end at P. False, and the stroke unchanged,
    // when P lies on the first segment or on none.
    bool cutTailAt(const Vector3& P);
    void transform(const Matrix4& m) { transformPoints(points, m); }
    // A copy carried by the matrix.
    Stroke transformed(const Matrix4& m) const {
        Stroke copy = *this;
        copy.transform(m);
        return copy;
    }
    void translate(const Vector3& offset);
    void scale(double k) { scalePoints(points, k); }
    // Translates every point, then rotates it about the world z axis by angle (radians).
    void rotateAboutZ(const Vector3& translation, double angle);
};
