// The structural edits of a composite: growing, removing, cutting, replacing and
// turning its segments and branches.
#include "model/FlowerObjectComposite.h"

#include "interaction/StrokeGeometry.h"
#include "math/Diagnostics.h"

#include <cmath>

namespace {

const Vector3 kUp(0.0, 1.0, 0.0);
const Vector3 kOut(0.0, 0.0, 1.0);

Matrix4 rotation(const Vector3& from, const Vector3& to) {
    return rotationBetween(from, to).matrix;
}

// The frames of a new part drawn as a stroke: the stroke is moved to start at the
// origin and turned so that its chord runs up +y and `side` lies along +z.
struct PartFrame {
    // The stroke in the part's frame, ready for the part's reshapeByStroke.
    Stroke fitted;
    // The stroke's chord before turning.
    Vector3 chord;
    // Maps the part's frame back onto the stroke's direction (rotation only).
    Matrix4 placement;
    // +z onto the side direction.
    Matrix4 sideTurn;
};

PartFrame partFrame(const Stroke& stroke, const Vector3& side) {
    PartFrame frame;
    frame.fitted = stroke;
    if (!frame.fitted.empty())
        frame.fitted.translate(-frame.fitted.front());
    if (frame.fitted.size() >= 2)
        frame.chord = frame.fitted.back() - frame.fitted.front();
    const Matrix4 upright = rotation(frame.chord, kUp);
    const Vector3 s = upright.rotateVector(side);
    frame.sideTurn = rotation(kOut, s);
    frame.placement = rotation(kUp, frame.chord) * frame.sideTurn;
    frame.fitted.transform(rotation(s, kOut) * upright);
    return frame;
}

} // namespace

// --- Growing

void FlowerObjectComposite::appendAlongAxis(std::unique_ptr<FlowerObjectNode> node,
                                            const Stroke& stroke, const Vector3& side,
                                            Matrix4* placement) {
    if (!node)
        return;
    if (node->kind == kKindComposite)
        diagnostic("a composite becomes a segment along a plant's axis");
    const PartFrame frame = partFrame(stroke, side);
    node->reshapeByStroke(frame.fitted);

    const double oldLength = mainAxis.length();
    const Vector3 end = mainAxis.empty() ? Vector3() : mainAxis.back();
    for (const Vector3& q : node->mainAxis.points)
        mainAxis.add(transformPoint(frame.placement, q) + end);

    // The new segment starts where the old axis ended: the earlier parts' positions
    // shrink to the longer axis.
    const double newLength = mainAxis.length();
    double start = 0.0;
    if (newLength != 0.0) {
        start = oldLength / newLength;
        rescalePositions(start);
    }
    if (FlowerObjectComposite* composite = asComposite(node.get()))
        composite->parent = this;
    segments.push_back(
        {std::move(node), Matrix4::translation(end) * frame.placement, frame.sideTurn, start});
    if (placement)
        *placement = segments.back().placement;
}

void FlowerObjectComposite::addBranch(double position,
                                      std::unique_ptr<FlowerObjectComposite> branch,
                                      const Stroke& stroke, const Vector3& side,
                                      Matrix4* placement) {
    if (!branch)
        return;
    const Stroke::PointAtLength at = mainAxis.pointAtLength(position * mainAxis.length());
    const PartFrame frame = partFrame(stroke, side);
    branch->reshapeByStroke(frame.fitted);
    branch->parent = this;
    branches.push_back({std::move(branch), Matrix4::translation(at.point) * frame.placement,
                        Matrix4(), rotation(at.direction, frame.chord) * frame.sideTurn, position});
    if (placement)
        *placement = branches.back().attachment;
}

// --- Removing and cutting

bool FlowerObjectComposite::removeBranch(int objectId) {
    for (const Segment& segment : segments)
        if (FlowerObjectComposite* composite = asComposite(segment.node.get());
            composite && composite->removeBranch(objectId))
            return true;
    for (auto branch = branches.begin(); branch != branches.end(); ++branch) {
        bool matches = branch->composite->id == objectId;
        for (const Segment& segment : branch->composite->segments)
            matches = matches || segment.node->id == objectId;
        if (matches) {
            branches.erase(branch);
            return true;
        }
    }
    for (const Branch& branch : branches)
        if (branch.composite->removeBranch(objectId))
            return true;
    return false;
}

FlowerObjectComposite::Removal FlowerObjectComposite::cutAtSegment(int objectId) {
    auto cut = segments.begin();
    for (; cut != segments.end(); ++cut) {
        const FlowerObjectComposite* composite = asComposite(cut->node.get());
        if (cut->node->id == objectId || (composite && composite->findChild(objectId).found))
            break;
    }
    if (cut == segments.end())
        return Removal::None;
    segments.erase(cut, segments.end());
    if (segments.empty())
        return Removal::Emptied;
    rebuildAxisUpward();
    return Removal::Removed;
}

FlowerObjectComposite::Removal FlowerObjectComposite::removePart(int objectId) {
    return removeBranch(objectId) ? Removal::Removed : cutAtSegment(objectId);
}

// --- Replacing

bool FlowerObjectComposite::replaceSegment(int objectId, std::unique_ptr<FlowerObjectNode> node,
                                           Vector3 orientation) {
    for (Segment& segment : segments) {
        if (segment.node->id != objectId)
            continue;
        if (!node)
            return false;
        orientation.normalize();
        const Matrix4 towardsSide = rotation(kOut, orientation);
        const Matrix4 fromSide = rotation(orientation, kOut);
        FlowerObjectNode& old = *segment.node;
        Stroke axis = old.mainAxis;
        axis.transform(fromSide);
        node->reshapeByStroke(axis);
        segment.placement = segment.placement * towardsSide;
        segment.sideTurn = segment.sideTurn * towardsSide;
        if (old.kind == kKindSketch)
            takeStrokes(old, *node, fromSide);
        if (FlowerObjectComposite* composite = asComposite(node.get()))
            composite->parent = this;
        segment.node = std::move(node);
        return true;
    }
    return false;
}

void FlowerObjectComposite::replaceBranch(int objectId,
                                          std::unique_ptr<FlowerObjectComposite> branch,
                                          const Vector3& orientation) {
    const Branch* old = findBranch(objectId);
    if (!old)
        return;
    const Stroke axis = old->composite->mainAxis.transformed(old->placement());
    const double position = old->position;
    removeBranch(objectId);
    addBranch(position, std::move(branch), axis, orientation);
}

void FlowerObjectComposite::replaceLike(int objectId, const FlowerObjectComposite& model,
                                        const Vector3& orientation, IdCounter& ids) {
    const Branch* branch = findBranch(objectId);
    if (!branch)
        return;
    FlowerObjectComposite& target = *branch->composite;
    const Vector3 inBranch = inverted(branch->placement()).rotateVector(orientation);
    for (size_t j = 0; j < target.segments.size() && j < model.segments.size(); ++j) {
        const Segment& segment = target.segments[j];
        const Vector3 inSegment = inverted(segment.placement).rotateVector(inBranch);
        target.replaceSegment(segment.node->id, model.segments[j].node->clone(ids), inSegment);
    }
    // Replacing a branch moves its replacement to the end of the list, so the
    // branches to replace are named by id before the first one goes.
    const size_t count = std::min(target.branches.size(), model.branches.size());
    std::vector<int> replaced;
    for (size_t k = 0; k < count; ++k)
        replaced.push_back(target.branches[k].composite->id);
    for (size_t k = 0; k < count; ++k) {
        const Vector3 side = target.findBranch(replaced[k])->placement().rotateVector(kOut);
        target.replaceBranch(replaced[k], asComposite(model.branches[k].composite->clone(ids)),
                             side);
    }
}

void FlowerObjectComposite::takeStrokes(FlowerObjectNode& from, FlowerObjectNode& to,
                                        const Matrix4& matrix) {
    for (auto& stroke : from.strokes) {
        stroke->transform(matrix);
        to.strokes.push_back(std::move(stroke));
    }
    from.strokes.clear();
}

// --- Turning

bool FlowerObjectComposite::turnBranch(int objectId, const Vector3& drag, const Matrix4& model,
                                       const Vector3& viewDirection) {
    if (drag.length() > 0.08)
        return false;
    Branch* branch = findBranch(objectId);
    if (!branch)
        return false;
    Matrix4 toBranch = model * branch->placement();
    toBranch.invert();
    // Both are directions: the branch's offset from the plant's base must not turn
    // into a drag, or a mouse that did not move would still turn it.
    const Vector3 w = toBranch.rotateVector(viewDirection);
    const Vector3 v = toBranch.rotateVector(drag);
    const double angle = 1.5 * v.length();
    Matrix4 turn;
    turn.setRotationAxis(cross(v, w), std::cos(angle), std::sin(angle));
    branch->turn = branch->turn * turn;
    return true;
}
