#pragma once

#include "math/Matrix4.h"
#include "math/Vector3.h"

#include <vector>

// Operations on ordered point lists: the points of strokes, profiles and axes.
using PointList = std::vector<Vector3>;

// Sum of the distances between consecutive points; 0 for fewer than 2 points.
double polylineLength(const PointList& pts);
// Sum of the segment lengths from point i to point j; 0 for fewer than 2 points or
// an index outside the list.
double partialLength(const PointList& pts, int i, int j);
// t is a position in 1/300ths of the polyline's length.
double arcLengthFromPercent(double t, const PointList& pts);
// The point at arc length s from the first point; the last point beyond the end.
// Requires at least one point.
Vector3 pointAtArcLength(const PointList& pts, double s);

// Placement on a surface of revolution about the y axis whose profile (x = radius,
// y = height) is `pts`. theta is the azimuth in radians, t the profile position in
// 1/300ths of the profile length. The organ's +y is tilted outwards by t * pi / 400.
Matrix4 placeOnProfile(double theta, double t, const PointList& pts);
// The same with an arc length s; `t` receives s * 300 / length.
Matrix4 placeOnProfileByArcLength(double theta, double s, const PointList& pts, double& t);

// The profile's x at height y: interpolated on the first segment that rises above
// y, the last point's x when none does.
double xAtHeight(const PointList& pts, double y);
void scalePoints(PointList& pts, double k);
void transformPoints(PointList& pts, const Matrix4& m);

// Uniform cubic B-spline kernel.
double bsplineBasis(double u);
// Point of the uniform cubic B-spline over pts at u in [0, n-1], the end points
// repeated twice beyond each end.
Vector3 bsplinePoint(const PointList& pts, double u);

// Crossing of segments a1a2 and b1b2 using x and y only; ends included, parallel
// segments never cross. The crossing point has z = 0.
bool segmentIntersection2D(const Vector3& a1, const Vector3& a2, const Vector3& b1,
                           const Vector3& b2, Vector3& crossing);
// q lies on segment ab within 0.001 (x and y only).
bool pointOnSegment2D(const Vector3& a, const Vector3& b, const Vector3& q);
// q lies inside the quadrilateral c0 c1 c2 c3 or on its border.
bool pointInQuad(const Vector3& c0, const Vector3& c1, const Vector3& c2, const Vector3& c3,
                 const Vector3& q);

struct PolarVector {
    double radius = 0.0;
    double angle = 0.0; // 0 .. 2 pi
};
// Radius and angle of the pixel vector (x1 - x2, y1 - y2). Two equal pixels give
// radius 0 and angle 0.
PolarVector polarOfPixelVector(int x1, int y1, int x2, int y2);
