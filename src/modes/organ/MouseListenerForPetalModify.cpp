#include "modes/organ/MouseListenerForPetalModify.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "interaction/PetalStrokes.h"
#include "interaction/StrokeGeometry.h"
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
Stroke turnedToCamera(const Stroke& stroke, const Matrix4& modelView) {
    Stroke turned = stroke;
    for (Vector3& p : turned.points)
        p = modelView.rotateVector(p);
    return turned;
}

Profile orientedProfile(const Stroke& stroke, int count) {
    Profile profile = bendProfile(stroke, count);
    orientProfile(profile);
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

void MouseListenerForPetalModify::onRButtonDown(int x, int y) {
    beginOrbit(x, y);
}

void MouseListenerForPetalModify::onRButtonUp(int, int) {
    endRightDrag();
    noteChange(kChangeMainView);
}

void MouseListenerForPetalModify::onLButtonDown(int x, int y) {
    leftDown = true;
    AppController& controller = appController();
    if (controller.showControlPoints) {
        if (const auto picked = controlPointUnder(x, y))
            if (FlowerObjectNode* target = controller.findObject(picked->objectId))
                drag_.start(*target, *picked);
        return;
    }
    drawing_ = true;
    startStroke(planeStroke_, hitViewPlane(x, y));
    nearStroke_.clear();
    nearStroke_.add(pixelNearPoint(x, y));
    redrawMainView();
}

void MouseListenerForPetalModify::onMouseMove(int x, int y) {
    if (rightDown)
        dragCamera(x, y);
    if (!leftDown)
        return;
    if (drag_.active()) {
        if (drag_.moveTo(x, y))
            redrawMainView();
    } else if (drawing_) {
        nearStroke_.add(pixelNearPoint(x, y));
        extendStroke(planeStroke_, hitViewPlane(x, y));
    }
}

void MouseListenerForPetalModify::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    auto* petal = dynamic_cast<FlowerPetalNode*>(appController().workObject());
    noteChange(kChangeMainView);
    if (drag_.active()) {
        if (auto* dragged = dynamic_cast<FlowerPetalNode*>(drag_.target())) {
            dragged->refreshShape();
            noteChange(kChangeWorkObject, "Move control point");
        }
    } else if (petal) {
        if (drawing_ && planeStroke_.size() >= kMinimumPoints && bend(*petal))
            noteChange(kChangeWorkObject, "Bend petal");
        petal->syncAxis();
    }
    nearStroke_.clear();
    planeStroke_.clear();
    drag_.reset();
    drawing_ = false;
}

bool MouseListenerForPetalModify::bend(FlowerPetalNode& petal) const {
    const TOGL* context = mainContext();
    PetalControlPointManager& net = petal.controlPoints();
    if (!context || net.empty())
        return false;
    const Vector3 eye = context->camera().eye;
    const auto s = nearestEdgePoint(net, eye, planeStroke_.front());
    const auto e = nearestEdgePoint(net, eye, planeStroke_.back());
    const bool local = appController().controlPointVariant != 0;
    const int c = net.midribColumn();
    const bool sFound = within(s, kEdgeReach);
    const bool eFound = within(e, kEdgeReach);
    const bool bothFound = sFound && eFound;
    const Stroke seen = turnedToCamera(planeStroke_, context->viewTransform().modelView);

    if (bothFound && joins(s->index.row, e->index.row, 0, net.tipRow())) {
        net.bendAlongMidrib(s->index, e->index, orientedProfile(seen, net.rowCount()));
    } else if (bothFound && joins(s->index.column, e->index.column, 0, net.lastColumn())) {
        const Profile heights = orientedProfile(seen, net.columnCount());
        if (local)
            net.liftRowsLocally(s->index, e->index, heights);
        else
            net.liftRowsGlobally(s->index, e->index, heights);
    } else {
        const bool fromMidrib =
            (sFound && s->index.column == c) || (eFound && e->index.column == c);
        if (!fromMidrib || !s)
            return false;
        bendSideways(net, planeStroke_, s->index.row, eye, local);
    }
    petal.refreshShape();
    return true;
}

void MouseListenerForPetalModify::onDraw() {
    nearStroke_.drawColored(3.0f);
    // A short blue mark just in front of the base.
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glLineWidth(3.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex3d(0.0, 0.0, 0.1);
    glVertex3d(0.0, 0.1, 0.14);
    glEnd();
}
