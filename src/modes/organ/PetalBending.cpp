#include "modes/organ/PetalBending.h"

#include "gl/TOGL.h"
#include "interaction/PetalStrokes.h"
#include "interaction/StrokeGeometry.h"
#include "interaction/PlaneHits.h"
#include "organs/FlowerPetalNode.h"

#include <optional>

namespace {

struct EdgePoint {
    NetIndex index;
    double distance = 0.0;
};

// The control point of the petal's edge closest to the eye ray through `p`: the
// base, the tip, and each inner row's two edge points and midrib point. Nothing
// when every one lies 100 or more away.
std::optional<EdgePoint> nearestEdgePoint(const PetalControlPointManager& net, const Vector3& eye,
                                          const Vector3& p) {
    std::optional<EdgePoint> best;
    double bestDistance = 100.0;
    const auto consider = [&](int row, int column) {
        const double d = distanceToLine(eye, p, net.pointAt(row, column));
        if (d < bestDistance) {
            bestDistance = d;
            best = EdgePoint{{row, column}, d};
        }
    };
    const int c = net.midribColumn();
    consider(0, c);
    for (int r = 1; r < net.tipRow(); ++r) {
        consider(r, 0);
        consider(r, c);
        consider(r, net.lastColumn());
    }
    consider(net.tipRow(), c);
    return best;
}

// Whether a and b are `one` and `other`, in either order.
bool joins(int a, int b, int one, int other) {
    return (a == one && b == other) || (a == other && b == one);
}

bool within(const std::optional<EdgePoint>& point, double reach) {
    return point && point->distance <= reach;
}

// The stroke as the camera sees it: turned by the camera's orientation.
Stroke turnedToCamera(const Stroke& stroke, const Matrix4& toCamera) {
    Stroke turned = stroke;
    for (Vector3& p : turned.points)
        p = toCamera.rotateVector(p);
    return turned;
}

Profile orientedProfile(const Stroke& stroke, int count, const Vector3& up) {
    Profile profile = bendProfile(stroke, count);
    orientProfile(profile, up);
    return profile;
}

// Curls row k's side out from the midrib: the stroke, divided into one point per
// half-row column, is carried onto the plane through the midrib point across the
// midrib and taken relative to that point. The stroke's middle chooses the side.
void bendSideways(PetalControlPointManager& net, const Stroke& stroke, int k, const Vector3& eye,
                  bool local) {
    const int c = net.midribColumn();
    const auto middle = nearestEdgePoint(net, eye, stroke.points[stroke.points.size() / 2]);
    if (!middle || middle->index.column == c)
        return;
    const NetIndex from{k, c};
    const NetIndex to{k, middle->index.column};
    Stroke samples;
    Stroke::resample(c, stroke, samples);
    const Vector3 m = net.pointAt(k, c);
    const Vector3 across = unit(net.midribPoint(net.tipRow()) - net.midribPoint(0));
    if (!carryOntoPlane(eye, samples.points, m, across))
        return;
    for (Vector3& p : samples.points)
        p = Vector3(p.x - m.x, 0.0, p.z - m.z);
    if (local)
        net.bendRowsLocally(from, to, samples.points);
    else
        net.shapeRowsGlobally(from, to, samples.points);
}

} // namespace

PetalView petalViewOf(const TOGL& view, const Matrix4& model) {
    const Matrix4 back = inverted(model);
    const Camera& camera = view.camera();
    return {transformPoint(back, camera.eye), view.viewTransform().modelView * model,
            back.rotateVector(camera.up)};
}

bool bendPetal(FlowerPetalNode& petal, const Stroke& stroke, const PetalView& view, bool local) {
    PetalControlPointManager& net = petal.controlPoints();
    if (net.empty() || stroke.empty())
        return false;
    const Vector3& eye = view.eye;
    const auto s = nearestEdgePoint(net, eye, stroke.front());
    const auto e = nearestEdgePoint(net, eye, stroke.back());
    const int c = net.midribColumn();
    const bool sFound = within(s, kPetalEdgeReach);
    const bool eFound = within(e, kPetalEdgeReach);
    const bool bothFound = sFound && eFound;
    const Stroke seen = turnedToCamera(stroke, view.toCamera);

    if (bothFound && joins(s->index.row, e->index.row, 0, net.tipRow())) {
        net.bendAlongMidrib(s->index, e->index, orientedProfile(seen, net.rowCount(), view.up));
    } else if (bothFound && joins(s->index.column, e->index.column, 0, net.lastColumn())) {
        const Profile heights = orientedProfile(seen, net.columnCount(), view.up);
        if (local)
            net.liftRowsLocally(s->index, e->index, heights);
        else
            net.liftRowsGlobally(s->index, e->index, heights);
    } else {
        const bool fromMidrib =
            (sFound && s->index.column == c) || (eFound && e->index.column == c);
        if (!fromMidrib || !s)
            return false;
        bendSideways(net, stroke, s->index.row, eye, local);
    }
    petal.refreshShape();
    return true;
}
