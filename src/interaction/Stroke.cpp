// Stroke operations, in the order of the header: drawing, measuring, reshaping.
#include "interaction/Stroke.h"

#include "interaction/OpenGL.h"
#include "interaction/StrokeGeometry.h"
#include "math/Diagnostics.h"
#include "math/TextWriter.h"

#include <cmath>

namespace {

// Flat, unlit lines of the given width, the state every stroke draw starts from.
void beginLineState(float width) {
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
    glLineWidth(width);
}

// The polyline as separate GL_LINES segments p[i-1]-p[i].
void emitSegments(const PointList& pts) {
    glBegin(GL_LINES);
    for (size_t i = 1; i < pts.size(); ++i) {
        glVertex3d(pts[i - 1].x, pts[i - 1].y, pts[i - 1].z);
        glVertex3d(pts[i].x, pts[i].y, pts[i].z);
    }
    glEnd();
}

} // namespace

void Stroke::drawForPick(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                         float width) const {
    if (size() < 2)
        return;
    beginLineState(width);
    glDisable(GL_BLEND);
    glColor3ub(red, green, blue);
    emitSegments(points);
}

void Stroke::drawColored(float width) const {
    if (size() < 2)
        return;
    beginLineState(width);
    glColor4fv(color.data());
    emitSegments(points);
}

void Stroke::drawSketch() const {
    if (size() < 2)
        return;
    drawColored(4.0f);
    glPointSize(5.0f);
    glColor3f(0.0f, 1.0f, 1.0f);
    glBegin(GL_POINTS);
    for (size_t i = 1; i < points.size(); ++i)
        glVertex3d(points[i].x, points[i].y, points[i].z);
    glEnd();
}

void Stroke::drawTranslucent(float width) const {
    if (size() < 2)
        return;
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    drawColored(width);
    // Opaque drawing with depth writes is what every other pass expects.
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

Stroke::PointAtLength Stroke::pointAtLength(double L) const {
    PointAtLength result;
    const int n = size();
    if (n < 2)
        return result;
    double walked = 0.0;
    for (int i = 1; i < n; ++i) {
        const Vector3 segment = points[i] - points[i - 1];
        const double length = segment.length();
        if (walked + length >= L) {
            result.direction = unit(segment);
            result.point = points[i - 1] + result.direction * (L - walked);
            result.segment = i - 1;
            return result;
        }
        walked += length;
    }
    result.point = points[n - 1];
    result.direction = points[n - 1] - points[n - 2];
    result.segment = n - 1;
    return result;
}

Vector3 Stroke::nearestPoint(const Vector3& P) const {
    if (size() < 2)
        return {};
    Vector3 best = points[0];
    double bestDistance = distance(best, P);
    for (const Vector3& p : points) {
        if (distance(p, P) < bestDistance) {
            best = p;
            bestDistance = distance(p, P);
        }
    }
    for (size_t i = 1; i < points.size(); ++i) {
        const Vector3& A = points[i - 1];
        const Vector3 segment = points[i] - A;
        const Vector3 d = unit(segment);
        const double t = dot(d, P - A);
        const Vector3 foot = A + d * t;
        if (t >= 0.0 && t <= segment.length() && distance(foot, P) < bestDistance) {
            best = foot;
            bestDistance = distance(foot, P);
        }
    }
    return best;
}

namespace {

// Arc length from the start of pts to Q, measured on the first segment that Q lies
// on in the x-y plane; false when it lies on none.
bool arcLengthToPointOn(const PointList& pts, const Vector3& Q, double& arcLength) {
    double walked = 0.0;
    for (size_t i = 1; i < pts.size(); ++i) {
        if (pointOnSegment2D(pts[i - 1], pts[i], Q)) {
            arcLength = walked + distance(Q, pts[i - 1]);
            return true;
        }
        walked += distance(pts[i], pts[i - 1]);
    }
    return false;
}

} // namespace

double Stroke::lengthToNearest(const Vector3& P) const {
    if (size() < 2)
        return 0.0;
    double arcLength = 0.0;
    if (arcLengthToPointOn(points, P, arcLength))
        return arcLength;
    if (arcLengthToPointOn(points, nearestPoint(P), arcLength))
        return arcLength;
    return 0.0;
}

Stroke::RayPick Stroke::pickWithRay(const Vector3& origin, const Vector3& direction) const {
    RayPick pick;
    const int n = size();
    if (n == 0)
        return pick;
    int k = 0;
    double vertexDistance = distanceToAxis(points[0], origin, direction);
    for (int i = 1; i < n; ++i) {
        const double d = distanceToAxis(points[i], origin, direction);
        if (d < vertexDistance) {
            vertexDistance = d;
            k = i;
        }
    }
    pick.index = k;
    pick.point = points[k];
    const double vertexArcLength = partialLength(points, 0, k);
    pick.arcLength = vertexArcLength;

    // Refine on the two segments at the nearest vertex. Both start from the vertex,
    // so the arc length of an accepted foot is measured from the vertex's own arc
    // length, whichever segment was accepted before.
    bool refined = false;
    double refinedDistance = 0.0;
    const auto refineTowards = [&](int neighbour, double arcSign) {
        const Vector3 segment = points[neighbour] - points[k];
        const Vector3 dir = unit(segment);
        const ClosestApproach approach = closestApproach(points[k], dir, origin, direction);
        if (approach.s < 0.0 || approach.s > segment.length())
            return;
        if (refined && approach.distance >= refinedDistance)
            return;
        pick.point = points[k] + dir * approach.s;
        pick.arcLength = vertexArcLength + arcSign * approach.s;
        refinedDistance = approach.distance;
        refined = true;
    };
    if (k + 1 < n)
        refineTowards(k + 1, 1.0);
    if (k > 0)
        refineTowards(k - 1, -1.0);
    pick.distance = refined && refinedDistance < 100.0 ? refinedDistance : vertexDistance;
    return pick;
}

void Stroke::printPoints() const {
    if (!diagnosticsWanted())
        return;
    TextWriter out;
    for (size_t i = 0; i < points.size(); ++i)
        out.format(i == 0 ? "%f %f %f" : "\n%f %f %f", points[i].x, points[i].y, points[i].z);
    diagnostic(out.str());
}

void Stroke::resample(int N, const Stroke& source, Stroke& target) {
    if (&source == &target) {
        const Stroke copy = source;
        resample(N, copy, target);
        return;
    }
    if (N < 1)
        return;
    PointList& out = target.points;
    const double length = source.length();
    if (length == 0.0) {
        out.insert(out.end(), static_cast<size_t>(N) + 2, Vector3());
        return;
    }
    const PointList& p = source.points;
    const size_t first = out.size();
    const size_t wanted = static_cast<size_t>(N) + 1;
    const auto appended = [&] { return out.size() - first; };
    out.reserve(first + wanted);

    const double step = length / N;
    out.push_back(p[0]);
    Vector3 previous = p[0];
    double walked = 0.0;
    // Once N + 1 points are out, whatever is left of the source is rounding
    // residue; stopping there also bounds the loop when the steps are too small
    // to move a point at all.
    for (size_t i = 1; i < p.size() && appended() < wanted;) {
        walked += distance(p[i], previous);
        if (walked == step) {
            out.push_back(p[i]);
            previous = p[i];
            walked = 0.0;
            ++i;
        } else if (walked > step) {
            // Step back from p[i] by the overshoot, then examine p[i] again from
            // the new point.
            previous = p[i] - unit(p[i] - previous) * (walked - step);
            out.push_back(previous);
            walked = 0.0;
        } else {
            previous = p[i];
            ++i;
        }
    }
    if (appended() == wanted)
        out.back() = p.back();
    else
        out.push_back(p.back());
}

void Stroke::resampleInPlace(int N) {
    if (length() == 0.0)
        return;
    Stroke resampled;
    resample(N, *this, resampled);
    if (!resampled.empty())
        points = std::move(resampled.points);
}

void Stroke::splineResample(const Stroke& source, Stroke& target, int count) {
    if (&source == &target) {
        const Stroke copy = source;
        splineResample(copy, target, count);
        return;
    }
    const int n = source.size();
    if (n < 2) {
        target.points.insert(target.points.end(), source.points.begin(), source.points.end());
        return;
    }
    // The parameter runs from -1 to n, one step beyond the control points at each
    // end, where the repeated end points make the curve meet them exactly.
    const double step = count > 1 ? (n + 1.0) / (count - 1) : 0.0;
    for (int k = 0; k < count; ++k)
        target.add(bsplinePoint(source.points, -1.0 + k * step));
}

void Stroke::splineSmooth() {
    Stroke smoothed;
    splineResample(*this, smoothed, size());
    points = std::move(smoothed.points);
}

void Stroke::smooth121() {
    const int n = size();
    if (n < 3)
        return;
    Vector3 before = points[0];
    for (int i = 1; i < n - 1; ++i) {
        const Vector3 current = points[i];
        points[i] = (before + current * 2.0 + points[i + 1]) * 0.25;
        before = current;
    }
}

namespace {

// A corner at p[at] sharper than arccos(-0.1), about 96 degrees: a pen moving
// steadily never turns that much between neighbouring samples, a hook does.
bool isSharpCorner(const PointList& p, int before, int at, int after) {
    return dot(unit(p[before] - p[at]), unit(p[after] - p[at])) >= -0.1;
}

} // namespace

void Stroke::removeHooks() {
    // The start scan looks at corners up to p[7] and the end scan needs three
    // points, so shorter strokes are left alone rather than read past their ends.
    if (size() < 9)
        return;
    int head = 0;
    for (int i = 2; i <= 8; ++i)
        if (isSharpCorner(points, i - 2, i - 1, i))
            head = i - 1;
    points.erase(points.begin(), points.begin() + head);

    const int n = size();
    int tail = -1;
    for (int j = n - 3; j >= n - 5 && j >= 0; --j)
        if (isSharpCorner(points, j, j + 1, j + 2))
            tail = j + 1;
    if (tail >= 0)
        points.erase(points.begin() + tail + 1, points.end());
}

void Stroke::extendEnds() {
    const int n = size();
    if (n < 2)
        return;
    points[0] += unit(points[0] - points[1]);
    points[n - 1] += unit(points[n - 1] - points[n - 2]);
}

bool Stroke::cutHeadAt(const Vector3& P) {
    const int n = size();
    for (int i = 1; i < n; ++i) {
        if (!pointOnSegment2D(points[i - 1], points[i], P))
            continue;
        if (i == n - 1)
            return false;
        points.erase(points.begin(), points.begin() + i);
        points.insert(points.begin(), P);
        return true;
    }
    return false;
}

bool Stroke::cutTailAt(const Vector3& P) {
    for (int k = size() - 2; k >= 0; --k) {
        if (!pointOnSegment2D(points[k + 1], points[k], P))
            continue;
        if (k == 0)
            return false;
        // The two vertices before P go with the tail: the stroke ends on
        // p[k-2] -> P.
        points.erase(points.begin() + (k - 1), points.end());
        points.push_back(P);
        return true;
    }
    return false;
}

void Stroke::translate(const Vector3& offset) {
    for (Vector3& p : points)
        p += offset;
}

void Stroke::rotateAboutZ(const Vector3& translation, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (Vector3& p : points) {
        const Vector3 q = p + translation;
        p.set(c * q.x - s * q.y, s * q.x + c * q.y, q.z);
    }
}
