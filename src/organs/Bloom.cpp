#include "organs/Bloom.h"

#include "organs/FlowerTorusNode.h"

#include <algorithm>
#include <cmath>

namespace {

// The steepest an organ leans inwards in the bud, as the share of its length that
// runs across.
constexpr double kMostLean = 0.9;
// How far a closed organ keeps off what lies inside it, as a share of the
// receptacle's height.
constexpr double kClearance = 0.03;
// Points taken along a closed organ, which the whorls outside it keep clear of.
constexpr int kOrganSamples = 4;
// What lies this close above an organ's base, as a share of its length, it may
// graze: an organ attached under the rim of a cup leans in over it, as a petal that
// bends over the rim would.
constexpr double kGrazedReach = 0.15;

// A point in the half-plane through the axis: distance from the axis, height.
struct AxisPoint {
    double across;
    double height;
};

// The organ's tip in its own frame: the point of its main axis farthest from its
// base, or a short way up its own axis when it has none.
Vector3 organTip(const FlowerObjectNode& organ) {
    Vector3 tip{0.0, 0.1, 0.0};
    double farthest = 0.0;
    for (const Vector3& p : organ.mainAxis.points)
        if (p.lengthSquared() > farthest) {
            farthest = p.lengthSquared();
            tip = p;
        }
    return tip;
}

// The closing of the organ in `slot`, leaning towards the axis as far as the
// obstacles allow; the points along the closed organ go to `closedPoints`.
ClosingTurn closeOrgan(const FlowerPart& slot, const std::vector<AxisPoint>& obstacles,
                       double clearance, std::vector<AxisPoint>& closedPoints) {
    ClosingTurn closing;
    const Matrix4 placement = slot.organMatrix();
    closing.base = transformPoint(placement, {});
    const Vector3 along = transformPoint(placement, organTip(*slot.object)) - closing.base;
    const double length = along.length();
    if (length < 1e-9)
        return closing;
    // Inwards is away from the base's side of the axis; an organ standing on the
    // axis leans back from where it points.
    Vector3 outwards{closing.base.x, 0.0, closing.base.z};
    const double baseAcross = outwards.length();
    if (baseAcross < 1e-6)
        outwards = {along.x, 0.0, along.z};
    if (!outwards.normalize())
        return closing;
    // The lean as the sine of the angle from upright, outwards positive: towards the
    // axis, but clear of every obstacle it passes on its way up.
    double lean = std::max(-baseAcross / length, -kMostLean);
    for (const AxisPoint& o : obstacles) {
        const double rise = o.height - closing.base.y;
        if (rise <= kGrazedReach * length || rise >= length)
            continue;
        const double needed = std::atan2(o.across + clearance - baseAcross, rise);
        lean = std::max(lean, std::sin(needed));
    }
    lean = std::min(lean, 1.0);
    const Vector3 closed = outwards * (lean * length) +
                           Vector3{0.0, std::sqrt(1.0 - lean * lean) * length, 0.0};
    for (int k = 1; k <= kOrganSamples; ++k) {
        const Vector3 p = closing.base + closed * (static_cast<double>(k) / kOrganSamples);
        closedPoints.push_back({std::hypot(p.x, p.z), p.y});
    }
    Vector3 axis = cross(along, closed);
    const double sine = axis.length() / (length * length);
    const double cosine = dot(along, closed) / (length * length);
    if (!axis.normalize())
        return closing;
    closing.axis = axis;
    closing.angle = std::atan2(sine, cosine);
    return closing;
}

} // namespace

Matrix4 ClosingTurn::at(double openness) const {
    if (openness >= 1.0 || angle == 0.0)
        return Matrix4();
    const double a = (1.0 - std::max(openness, 0.0)) * angle;
    Matrix4 turn;
    turn.setRotationAxis(axis, std::cos(a), std::sin(a));
    return Matrix4::translation(base) * turn * Matrix4::translation(-base);
}

FlowerBud::FlowerBud(const FlowerTorusNode& flower) {
    std::vector<AxisPoint> obstacles;
    double top = 0.0, bottom = 0.0;
    for (const Vector3& p : flower.m_basicCurve.points) {
        obstacles.push_back({std::abs(p.x), p.y});
        top = std::max(top, p.y);
        bottom = std::min(bottom, p.y);
    }
    const double clearance = kClearance * (top - bottom);
    for (int code : kWhorlsInsideOut) {
        const SlotList& parts = flower.whorl(code).parts;
        std::vector<ClosingTurn>& turns = turns_[code];
        turns.resize(parts.size());
        // The whorl's organs keep clear of the whorls inside, not of each other.
        std::vector<AxisPoint> closedPoints;
        for (std::size_t i = 0; i < parts.size(); ++i)
            if (parts[i]->object)
                turns[i] = closeOrgan(*parts[i], obstacles, clearance, closedPoints);
        obstacles.insert(obstacles.end(), closedPoints.begin(), closedPoints.end());
    }
}

const ClosingTurn& FlowerBud::turn(int whorlCode, int index) const {
    static const ClosingTurn kNone;
    if (!isWhorl(whorlCode) || index < 0 ||
        index >= static_cast<int>(turns_[whorlCode].size()))
        return kNone;
    return turns_[whorlCode][index];
}

Matrix4 FlowerBud::slotFrameAt(const FlowerPart& slot, int whorlCode, int index,
                               double openness) const {
    if (openness >= 1.0)
        return slot.basicTransAndRot;
    return turn(whorlCode, index).at(openness) * slot.basicTransAndRot;
}
