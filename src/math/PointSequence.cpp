#include "math/PointSequence.h"

#include <cmath>
#include <numbers>

double polylineLength(const PointList& pts) {
    double sum = 0.0;
    for (size_t i = 1; i < pts.size(); ++i)
        sum += distance(pts[i], pts[i - 1]);
    return sum;
}

double partialLength(const PointList& pts, int i, int j) {
    const int n = static_cast<int>(pts.size());
    if (n < 2 || i < 0 || j < 0 || i >= n || j >= n)
        return 0.0;
    double sum = 0.0;
    for (int k = i + 1; k <= j; ++k)
        sum += distance(pts[k], pts[k - 1]);
    return sum;
}

double arcLengthFromPercent(double t, const PointList& pts) {
    return t * polylineLength(pts) / 300.0;
}

Vector3 pointAtArcLength(const PointList& pts, double s) {
    double walked = 0.0;
    for (size_t i = 1; i < pts.size(); ++i) {
        const Vector3 step = pts[i] - pts[i - 1];
        const double len = step.length();
        if (walked + len >= s)
            return pts[i - 1] + unit(step) * (s - walked);
        walked += len;
    }
    return pts.back();
}

namespace {

Matrix4 placement(double theta, double t, const Vector3& p) {
    Matrix4 tilt;
    tilt.setRotationX(-std::numbers::pi * t * 0.0025);
    Matrix4 turn;
    turn.setRotationY(std::numbers::pi / 2.0 - theta + std::numbers::pi);
    Matrix4 m = turn * tilt;
    const double r = std::fabs(p.x);
    m.setTranslation({r * std::cos(theta), p.y, r * std::sin(theta)});
    return m;
}

} // namespace

Matrix4 placeOnProfile(double theta, double t, const PointList& pts) {
    return placement(theta, t, pointAtArcLength(pts, arcLengthFromPercent(t, pts)));
}

Matrix4 placeOnProfileByArcLength(double theta, double s, const PointList& pts, double& t) {
    const double length = polylineLength(pts);
    t = length != 0.0 ? s * 300.0 / length : 0.0;
    return placement(theta, t, pointAtArcLength(pts, s));
}

double xAtHeight(const PointList& pts, double y) {
    if (pts.empty())
        return 0.0;
    Vector3 previous = pts[0];
    for (size_t k = 1; k < pts.size(); ++k) {
        const Vector3& p = pts[k];
        if (p.y > y) {
            if (p.y == previous.y)
                return previous.x;
            return (y * (p.x - previous.x) + p.y * previous.x - previous.y * p.x) /
                   (p.y - previous.y);
        }
        previous = p;
    }
    return pts.back().x;
}

void scalePoints(PointList& pts, double k) {
    for (Vector3& p : pts)
        p = p * k;
}

void transformPoints(PointList& pts, const Matrix4& m) {
    for (Vector3& p : pts)
        p = transformPoint(m, p);
}

double bsplineBasis(double u) {
    const double a = std::fabs(u);
    if (a < 1.0)
        return (3.0 * a * a * a - 6.0 * a * a + 4.0) / 6.0;
    if (a < 2.0) {
        const double b = 2.0 - a;
        return b * b * b / 6.0;
    }
    return 0.0;
}

Vector3 bsplinePoint(const PointList& pts, double u) {
    const int n = static_cast<int>(pts.size());
    Vector3 sum;
    if (n == 0)
        return sum;
    for (int i = -2; i <= n + 1; ++i) {
        const int k = i < 0 ? 0 : (i >= n ? n - 1 : i);
        sum += pts[k] * bsplineBasis(u - i);
    }
    return sum;
}

namespace {

bool within(double v, double u1, double u2) {
    return (v - u1) * (v - u2) <= 0.0;
}

} // namespace

bool segmentIntersection2D(const Vector3& a1, const Vector3& a2, const Vector3& b1,
                           const Vector3& b2, Vector3& crossing) {
    const bool aVertical = a1.x == a2.x;
    const bool bVertical = b1.x == b2.x;
    double x = 0.0;
    double y = 0.0;
    if (aVertical) {
        if (bVertical)
            return false;
        const double m2 = (b2.y - b1.y) / (b2.x - b1.x);
        x = a1.x;
        y = b1.y + m2 * (a1.x - b1.x);
        if (!within(y, a1.y, a2.y) || !within(y, b1.y, b2.y))
            return false;
    } else if (bVertical) {
        const double m1 = (a2.y - a1.y) / (a2.x - a1.x);
        x = b1.x;
        y = a1.y + m1 * (b1.x - a1.x);
        if (!within(y, a1.y, a2.y) || !within(y, b1.y, b2.y))
            return false;
    } else {
        const double m1 = (a2.y - a1.y) / (a2.x - a1.x);
        const double m2 = (b2.y - b1.y) / (b2.x - b1.x);
        if (m1 == m2)
            return false;
        x = (a1.y - m1 * a1.x + m2 * b1.x - b1.y) / (m2 - m1);
        y = a1.y + m1 * (x - a1.x);
        if (!within(x, a1.x, a2.x) || !within(x, b1.x, b2.x))
            return false;
    }
    crossing = Vector3(x, y, 0.0);
    return true;
}

bool pointOnSegment2D(const Vector3& a, const Vector3& b, const Vector3& q) {
    if (a.x == b.x && a.y == b.y)
        return q.x == a.x && q.y == a.y;
    if (!within(q.x, a.x, b.x) || !within(q.y, a.y, b.y))
        return false;
    const double dist = std::fabs(q.y * (a.x - b.x) + q.x * (b.y - a.y) + (b.x * a.y - a.x * b.y)) /
                        std::sqrt((b.y - a.y) * (b.y - a.y) + (a.x - b.x) * (a.x - b.x));
    return dist <= 0.001;
}

bool pointInQuad(const Vector3& c0, const Vector3& c1, const Vector3& c2, const Vector3& c3,
                 const Vector3& q) {
    const Vector3 c[4] = {c0, c1, c2, c3};
    for (int k = 0; k < 4; ++k)
        if (pointOnSegment2D(c[k], c[(k + 1) % 4], q))
            return true;
    Vector3 w[4];
    for (int k = 0; k < 4; ++k)
        w[k] = cross(c[k] - q, c[(k + 1) % 4] - q);
    const double d[4] = {dot(w[0], w[1]), dot(w[1], w[2]), dot(w[2], w[3]), dot(w[3], w[0])};
    const bool allNegative = d[0] < 0 && d[1] < 0 && d[2] < 0 && d[3] < 0;
    const bool allPositive = d[0] > 0 && d[1] > 0 && d[2] > 0 && d[3] > 0;
    return allNegative || allPositive;
}

PolarVector polarOfPixelVector(int x1, int y1, int x2, int y2) {
    const double dx = static_cast<double>(x1) - x2;
    const double dy = static_cast<double>(y1) - y2;
    PolarVector result;
    result.radius = std::sqrt(dx * dx + dy * dy);
    if (result.radius == 0.0)
        return result;
    result.angle = std::acos(dx / result.radius);
    if (dy / result.radius < 0.0)
        result.angle = 6.28318530717958 - result.angle;
    return result;
}
