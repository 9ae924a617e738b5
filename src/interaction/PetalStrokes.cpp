#include "interaction/PetalStrokes.h"

#include "interaction/StrokeGeometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Samples per raw stroke after resampling: 20 equal segments.
constexpr int kPetalSegments = 20;

// Outlines drawn as one loop run up one side and down the other, so a single
// stroke may arrive drawn tip to base. Base and tip are told apart only by the
// drawing direction, so the direction most strokes share decides, and a stroke
// drawn against it is reversed.
void orientAlike(Stroke& a, Stroke& b, Stroke& c) {
    const auto chord = [](const Stroke& s) { return s.back() - s.front(); };
    const Vector3 reference = chord(a);
    const bool bAgrees = dot(chord(b), reference) >= 0.0;
    const bool cAgrees = dot(chord(c), reference) >= 0.0;
    const auto reverse = [](Stroke& s) { std::reverse(s.points.begin(), s.points.end()); };
    if (!bAgrees && !cAgrees) {
        reverse(a);
        return;
    }
    if (!bAgrees)
        reverse(b);
    if (!cAgrees)
        reverse(c);
}

} // namespace

bool makePetalStrokes(const Stroke& s1, const Stroke& s2, const Stroke& s3, PetalStrokes& out) {
    // A stroke without length has no direction to build an outline or a midrib
    // from; resampling would only pile its samples up at the origin.
    for (const Stroke* raw : {&s1, &s2, &s3})
        if (raw->size() < 3 || raw->length() == 0.0)
            return false;
    Stroke a, b, c;
    Stroke::resample(kPetalSegments, s1, a);
    Stroke::resample(kPetalSegments, s2, b);
    Stroke::resample(kPetalSegments, s3, c);
    orientAlike(a, b, c);

    const Matrix4 toLocal = alignTriple(a, b, c);
    a.removeHooks();
    b.removeHooks();
    c.removeHooks();
    orderByMidX(a, b, c);
    if (!trimOutline(a, b, c))
        return false;

    // Trimming moved base and tip; the final frame is taken from the trimmed
    // strokes, back in the drawing frame.
    const Matrix4 toDrawing = inverted(toLocal);
    a.transform(toDrawing);
    b.transform(toDrawing);
    c.transform(toDrawing);
    out.matrix = alignTriple(a, b, c);
    out.left = std::move(a);
    out.middle = std::move(b);
    out.right = std::move(c);
    return true;
}

Matrix4 alignTriple(Stroke& a, Stroke& b, Stroke& c) {
    if (a.empty() || b.empty() || c.empty())
        return {};
    const Vector3 start = (a.front() + b.front() + c.front()) / 3.0;
    const Vector3 end = (a.back() + b.back() + c.back()) / 3.0;
    const Vector3 d = unit(end - start);
    // The angle from +y to d, positive counter-clockwise about +z.
    double theta = std::acos(std::clamp(d.y, -1.0, 1.0));
    if (cross({0.0, 1.0, 0.0}, d).z < 0.0)
        theta = -theta;
    Matrix4 turn;
    turn.setRotationZ(-theta);
    const Matrix4 m = turn * Matrix4::translation(-start);
    a.transform(m);
    b.transform(m);
    c.transform(m);
    return m;
}

void orderByMidX(Stroke& a, Stroke& b, Stroke& c) {
    if (a.empty() || b.empty() || c.empty())
        return;
    const double h = ((a.front().y + b.front().y + c.front().y) / 3.0 +
                      (a.back().y + b.back().y + c.back().y) / 3.0) /
                     2.0;
    double xa = a.xAtHeight(h);
    double xb = b.xAtHeight(h);
    double xc = c.xAtHeight(h);
    const auto order = [](Stroke& s, double& xs, Stroke& t, double& xt) {
        if (xs > xt) {
            std::swap(s, t);
            std::swap(xs, xt);
        }
    };
    order(a, xa, b, xb);
    order(b, xb, c, xc);
    order(a, xa, b, xb);
}

namespace {

// Every crossing of a segment of `left` with a segment of `right`, left segment by
// left segment, right segment by right segment.
PointList crossings(const Stroke& left, const Stroke& right) {
    PointList found;
    Vector3 crossing;
    for (int i = 1; i < left.size(); ++i)
        for (int j = 1; j < right.size(); ++j)
            if (segmentIntersection2D(left.points[i - 1], left.points[i], right.points[j - 1],
                                      right.points[j], crossing))
                found.push_back(crossing);
    return found;
}

// Fits the midrib between the base F and the tip G of the cut outline: its points
// up to 0.1 above F give way to F, and those from 0.1 below G to G.
void fitBetween(Stroke& middle, const Vector3& F, const Vector3& G) {
    PointList& p = middle.points;
    const auto firstAbove =
        std::find_if(p.begin(), p.end(), [&](const Vector3& q) { return q.y > F.y + 0.1; });
    p.erase(p.begin(), firstAbove);
    p.insert(p.begin(), F);
    const auto lastBelow =
        std::find_if(p.rbegin(), p.rend(), [&](const Vector3& q) { return q.y < G.y - 0.1; });
    // Without a point below the tip only F stays.
    p.erase(lastBelow == p.rend() ? p.begin() + 1 : lastBelow.base(), p.end());
    p.push_back(G);
}

} // namespace

bool trimOutline(Stroke& left, Stroke& middle, Stroke& right) {
    if (left.size() < 2 || right.size() < 2)
        return false;
    // Work on copies so that a failure leaves the strokes as they were.
    Stroke l = left;
    Stroke m = middle;
    Stroke r = right;
    const double h = (r.front().y + r.back().y) / 2.0;
    // Lengthened ends still cross when base or tip was drawn a little open.
    r.extendEnds();
    l.extendEnds();

    const PointList found = crossings(l, r);
    if (found.size() < 2)
        return false;
    Vector3 base = found.front();
    Vector3 tip = found.back();
    if (found.size() > 2) {
        // Wobbles add crossings along the sides: the base is the highest one in
        // the lower half and the tip the first one in the upper half.
        for (const Vector3& x : found)
            if (x.y <= h)
                base = x;
        const auto upper =
            std::find_if(found.begin(), found.end(), [&](const Vector3& x) { return x.y >= h; });
        if (upper != found.end())
            tip = *upper;
    }
    if (!r.cutHeadAt(base) || !l.cutHeadAt(base) || !l.cutTailAt(tip) || !r.cutTailAt(tip))
        return false;
    // Base and tip on neighbouring segments leave a single point, no outline.
    if (l.size() < 2 || r.size() < 2)
        return false;

    fitBetween(m, l.front(), l.back());
    left = std::move(l);
    middle = std::move(m);
    right = std::move(r);
    return true;
}

Profile bendProfile(const Stroke& stroke, int count) {
    Profile profile(static_cast<size_t>(std::max(count, 0)), 0.0);
    if (count < 3 || stroke.size() < 2)
        return profile;
    const Vector3 A = stroke.front();
    const Vector3 Z = stroke.back();
    // A closed stroke has no chord to measure the bend from.
    if (Z == A)
        return profile;
    const double theta = signedAngle({0.0, 1.0, 0.0}, Z - A, {0.0, 0.0, 1.0});
    Stroke chordUp = stroke;
    chordUp.rotateAboutZ(-A, -theta);
    const double step = (chordUp.back().y - chordUp.front().y) / (count - 1);
    for (int i = 1; i < count - 1; ++i)
        profile[i] = chordUp.xAtHeight(i * step);
    if (A.x < Z.x)
        for (double& v : profile)
            v = -v;
    return profile;
}

void orientProfile(Profile& profile, const Vector3& up) {
    if (up.z < 0.0)
        for (double& v : profile)
            v = -v;
}
