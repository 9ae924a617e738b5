// The composite itself: its axis and re-fitting, lookups, queries, material and
// cloning.
#include "model/FlowerObjectComposite.h"

#include "interaction/StrokeGeometry.h"

namespace {

const Vector3 kUp(0.0, 1.0, 0.0);

// The piece of `axis` from arc length `from` to `to`: its two end points and the
// axis points between them.
Stroke axisPiece(const Stroke& axis, double from, double to) {
    Stroke piece;
    piece.add(axis.pointAtLength(from).point);
    double walked = 0.0;
    for (int i = 1; i < axis.size(); ++i) {
        walked += distance(axis.points[i], axis.points[i - 1]);
        if (walked > from && walked < to && i < axis.size() - 1)
            piece.add(axis.points[i]);
    }
    piece.add(axis.pointAtLength(to).point);
    return piece;
}

} // namespace

// --- The axis

void FlowerObjectComposite::rebuildAxis() {
    mainAxis.clear();
    for (const Segment& segment : segments)
        for (const Vector3& p : segment.node->mainAxis.points)
            mainAxis.add(transformPoint(segment.placement, p));
}

void FlowerObjectComposite::rebuildAxisUpward() {
    for (FlowerObjectComposite* c = this; c; c = c->parent)
        c->rebuildAxis();
}

void FlowerObjectComposite::rescalePositions(double factor) {
    for (Branch& branch : branches)
        branch.position *= factor;
    for (Segment& segment : segments)
        segment.start *= factor;
}

void FlowerObjectComposite::rebuildAxisKeepPositions() {
    const double oldLength = mainAxis.length();
    rebuildAxis();
    const double newLength = mainAxis.length();
    if (newLength != 0.0)
        rescalePositions(oldLength / newLength);
}

void FlowerObjectComposite::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 4)
        return;
    const double oldLength = mainAxis.length();
    mainAxis.points = stroke.points;
    mainAxis.resampleInPlace(stroke.size() - 1);
    const double newLength = mainAxis.length();
    // An axis that had no length yet cannot be stretched: its parts keep their size.
    const double k = oldLength > 0.0 ? newLength / oldLength : 1.0;

    for (Segment& segment : segments) {
        const double start = segment.start * newLength;
        const double length = segment.node->mainAxis.length() * k;
        Stroke piece = axisPiece(mainAxis, start, start + length);
        const Vector3 pieceStart = piece.front();
        const Vector3 d = piece.back() - piece.front();
        const Matrix4 upright = rotationBetween(d, kUp).matrix;
        const Matrix4 alongPiece = rotationBetween(kUp, d).matrix;
        piece.translate(-pieceStart);
        piece.transform(inverted(segment.sideTurn) * upright);
        segment.node->reshapeByStroke(piece);
        segment.placement = Matrix4::translation(pieceStart) * alongPiece * segment.sideTurn;
    }
    for (Branch& branch : branches) {
        const Stroke::PointAtLength at = mainAxis.pointAtLength(branch.position * newLength);
        branch.attachment = Matrix4::translation(at.point) *
                            rotationBetween(kUp, at.direction).matrix * branch.orientationOnAxis;
        if (k <= 1.0) {
            Stroke shrunk = branch.composite->mainAxis;
            shrunk.scale(k);
            branch.composite->reshapeByStroke(shrunk);
        }
    }
    rebuildAxis();
}

void FlowerObjectComposite::scale(double factor) {
    // The axis is re-fitted to a scaled copy, so that the parts see the change of
    // length (and branches shrink with a shrinking plant).
    Stroke scaled = mainAxis;
    scaled.scale(factor);
    reshapeByStroke(scaled);
}

// --- Lookups

CompositeLookup FlowerObjectComposite::findChild(int objectId) const {
    auto* self = const_cast<FlowerObjectComposite*>(this);
    for (const Segment& segment : segments) {
        if (segment.node->id == objectId)
            return {true, self, segment.node.get(), segment.placement};
        if (const FlowerObjectComposite* composite = asComposite(segment.node.get())) {
            CompositeLookup inner = composite->findChild(objectId);
            if (inner.found) {
                inner.matrix = segment.placement * inner.matrix;
                return inner;
            }
        }
    }
    for (const Branch& branch : branches) {
        if (branch.composite->id == objectId)
            return {true, self, branch.composite.get(), branch.placement()};
        CompositeLookup inner = branch.composite->findChild(objectId);
        if (inner.found) {
            inner.matrix = branch.placement() * inner.matrix;
            return inner;
        }
    }
    return {};
}

FlowerObjectComposite::Branch* FlowerObjectComposite::findBranch(int objectId) {
    for (Branch& branch : branches)
        if (branch.composite->id == objectId)
            return &branch;
    return nullptr;
}

const FlowerObjectComposite::Branch* FlowerObjectComposite::findBranch(int objectId) const {
    return const_cast<FlowerObjectComposite*>(this)->findBranch(objectId);
}

FlowerObjectComposite::BranchTurn FlowerObjectComposite::branchTurnedBy(int partId) const {
    if (partId == id)
        return {};
    const CompositeLookup picked = findChild(partId);
    if (!picked.found || picked.holder == this)
        return {};
    const CompositeLookup branch = findChild(picked.holder->id);
    if (!branch.found)
        return {};
    return {picked.holder->id, branch.holder->id};
}

Matrix4 FlowerObjectComposite::matrixOfBranch(int objectId) const {
    const Branch* branch = findBranch(objectId);
    return branch ? branch->placement() : Matrix4();
}

// --- Queries

bool FlowerObjectComposite::sameStructure(const FlowerObjectComposite& other) const {
    if (branches.size() != other.branches.size() || segments.size() != other.segments.size())
        return false;
    for (size_t i = 0; i < branches.size(); ++i)
        if (!branches[i].composite->sameStructure(*other.branches[i].composite))
            return false;
    for (size_t j = 0; j < segments.size(); ++j) {
        const int type = segments[j].node->sketchType();
        if (type < 0 || type != other.segments[j].node->sketchType())
            return false;
    }
    return true;
}

CompositeRayHit nearestStrokePoint(const FlowerObjectNode& node, const Vector3& origin,
                                   const Vector3& direction) {
    CompositeRayHit best;
    const auto consider = [&](const Stroke& stroke) {
        if (stroke.empty())
            return;
        const Stroke::RayPick pick = stroke.pickWithRay(origin, direction);
        if (pick.distance < best.distance) {
            best.distance = pick.distance;
            best.point = pick.point;
            best.pointIndex = pick.index;
            best.objectId = node.id;
        }
    };
    for (const auto& stroke : node.strokes)
        consider(*stroke);
    if (node.mainAxis.size() >= 2)
        consider(node.mainAxis);
    best.atTip = best.objectId >= 0 && !node.mainAxis.empty() &&
                 distance(best.point, node.mainAxis.back()) < 0.01;
    return best;
}

CompositeRayHit FlowerObjectComposite::distanceToRay(const Vector3& origin,
                                                     const Vector3& direction) const {
    CompositeRayHit best;
    const auto keep = [&](CompositeRayHit hit, const Matrix4& matrix) {
        if (hit.distance >= best.distance)
            return;
        hit.point = transformPoint(matrix, hit.point);
        hit.matrix = matrix * hit.matrix;
        best = hit;
    };
    // The ray in a part's frame: the origin as a point, the direction as a vector.
    const auto rayIn = [&](const Matrix4& matrix, Vector3& o, Vector3& d) {
        const Matrix4 back = inverted(matrix);
        o = transformPoint(back, origin);
        d = unit(back.rotateVector(direction));
    };
    for (const Segment& segment : segments) {
        Vector3 o, d;
        rayIn(segment.placement, o, d);
        const FlowerObjectComposite* composite = asComposite(segment.node.get());
        keep(composite ? composite->distanceToRay(o, d) : nearestStrokePoint(*segment.node, o, d),
             segment.placement);
    }
    if (mainAxis.size() >= 2) {
        const Stroke::RayPick pick = mainAxis.pickWithRay(origin, direction);
        if (pick.distance < best.distance) {
            best = CompositeRayHit();
            best.distance = pick.distance;
            best.point = pick.point;
            best.pointIndex = pick.index;
            best.objectId = id;
            best.atTip = distance(pick.point, mainAxis.back()) < 0.01;
        }
    }
    for (const Branch& branch : branches) {
        Vector3 o, d;
        const Matrix4 matrix = branch.placement();
        rayIn(matrix, o, d);
        keep(branch.composite->distanceToRay(o, d), matrix);
    }
    return best;
}

void FlowerObjectComposite::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix,
                                        bool flag) const {
    min = Vector3();
    max = Vector3();
    const auto widen = [&](const FlowerObjectNode& part, const Matrix4& m) {
        Vector3 lo, hi;
        part.boundingBox(lo, hi, m, flag);
        widenBox(min, max, lo);
        widenBox(min, max, hi);
    };
    for (const Segment& segment : segments)
        widen(*segment.node, matrix * segment.placement);
    for (const Branch& branch : branches)
        widen(*branch.composite, matrix * branch.placement());
}

// --- Material and copies

void FlowerObjectComposite::setMaterial(const Rgba& newDiffuse, const Rgba& newSpecular,
                                        const Rgba& newAmbient, float newShininess) {
    const auto pass = [&](FlowerObjectNode& child) {
        if (child.kind == kKindStem || child.kind == kKindTorus || child.kind == kKindComposite)
            child.setMaterial(newDiffuse, newSpecular, newAmbient, newShininess);
    };
    for (Branch& branch : branches)
        pass(*branch.composite);
    for (Segment& segment : segments)
        pass(*segment.node);
}

std::unique_ptr<FlowerObjectNode> FlowerObjectComposite::clone(IdCounter& ids) const {
    auto copy = std::make_unique<FlowerObjectComposite>(ids.nextId());
    copy->mainAxis = mainAxis;
    // The copy's parts point back at the copy, so that edits inside a copied plant
    // re-place its ancestors like in the original.
    for (const Branch& branch : branches) {
        std::unique_ptr<FlowerObjectComposite> composite =
            asComposite(branch.composite->clone(ids));
        composite->parent = copy.get();
        copy->branches.push_back({std::move(composite), branch.attachment, branch.turn,
                                  branch.orientationOnAxis, branch.position});
    }
    for (const Segment& segment : segments) {
        std::unique_ptr<FlowerObjectNode> node = segment.node->clone(ids);
        if (FlowerObjectComposite* composite = asComposite(node.get()))
            composite->parent = copy.get();
        copy->segments.push_back(
            {std::move(node), segment.placement, segment.sideTurn, segment.start});
    }
    copy->openingOrder = openingOrder;
    return copy;
}

namespace {

void collectFlowerHeads(const FlowerObjectComposite& plant,
                        std::vector<const FlowerObjectNode*>& heads) {
    forEachPlacedChild(plant, [&](const FlowerObjectNode& child, const Matrix4&, bool) {
        if (const FlowerObjectComposite* inner = asComposite(&child))
            collectFlowerHeads(*inner, heads);
        else if (child.kind == kKindTorus)
            heads.push_back(&child);
    });
}

} // namespace

std::vector<const FlowerObjectNode*> flowerHeads(const FlowerObjectComposite& plant) {
    std::vector<const FlowerObjectNode*> heads;
    collectFlowerHeads(plant, heads);
    return heads;
}
