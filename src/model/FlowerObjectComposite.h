#pragma once

#include "model/FlowerObjectNode.h"

#include <memory>
#include <type_traits>
#include <vector>

// What a composite's part search finds: the object, the composite that holds it
// and the object's matrix relative to the searching composite.
struct CompositeLookup {
    bool found = false;
    class FlowerObjectComposite* holder = nullptr;
    FlowerObjectNode* object = nullptr;
    Matrix4 matrix;
};

// The nearest thing of a composite to a picking ray, in the composite's frame.
struct CompositeRayHit {
    double distance = 10000.0;
    Vector3 point;
    int objectId = -1;
    int pointIndex = -1;
    // The hit point lies at the tip of the object's main axis.
    bool atTip = false;
    // The hit object's matrix relative to the composite.
    Matrix4 matrix;
};

// A branching plant: segments stacked end to end along the main axis (stems,
// flower heads, sketches, nested composites) and lateral branches, each a
// composite, attached at fractions 0..1 of the axis length. The main axis is the
// concatenation of the segments' axes, each under its placement.
//
// The class is spread over files by job: this one's .cpp holds the axis, the
// lookups and the queries; CompositeEdits.cpp the structural edits;
// CompositeDrawing.cpp the draw passes and the OBJ export; CompositeRecord.cpp the
// record.
class FlowerObjectComposite : public FlowerObjectNode {
public:
    // A piece of the main axis.
    struct Segment {
        std::unique_ptr<FlowerObjectNode> node;
        // The node's frame on the axis: translation to where it starts, times the
        // rotation from upright onto its direction, times its side turn.
        Matrix4 placement;
        // The turn about its own axis that faces it to the side chosen when it was
        // added; kept so that re-fitting the axis keeps the side.
        Matrix4 sideTurn;
        // Where it starts along the axis, 0..1.
        double start = 0.0;
    };

    // A lateral branch.
    struct Branch {
        std::unique_ptr<FlowerObjectComposite> composite;
        // Translation to the attachment point times the branch's orientation.
        Matrix4 attachment;
        // The user's turns of the branch, applied after the attachment; the identity
        // when the branch is added.
        Matrix4 turn;
        // The orientation relative to the axis direction at the attachment point,
        // from which the attachment is rebuilt when the axis is re-fitted.
        Matrix4 orientationOnAxis;
        // Where it is attached along the axis, 0..1.
        double position = 0.0;

        // Where the branch stands in the composite.
        Matrix4 placement() const { return attachment * turn; }
    };

    // What removing a part did. `Emptied`: the part went and left this composite
    // without segments; whoever holds the composite is to remove it in turn (its
    // parent's removePart, or the scene's for a plant).
    enum class Removal { None, Removed, Emptied };

    explicit FlowerObjectComposite(int nodeId) : FlowerObjectNode(nodeId, kKindComposite) {}

    void drawWireframe(const DrawContext& draw) override;
    void drawSolid(const DrawContext& draw) override;
    void drawControlPoints(const DrawContext&) override {}
    void drawPlain(const DrawContext& draw) override;
    void drawTranslucent(const DrawContext& draw) override;
    // A square at the base of the plant, a tenth of the axis height wide.
    void drawOverlay(const DrawContext& draw) override;
    // Draws the bounding box as the highlight of a candidate.
    void drawHighlightBox(const DrawContext& draw) const;
    int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) override;
    void save(TextWriter& out, const WriteContext& context) const override;
    // Passed on to stems, receptacles and composites only; leaves, petals, pistils,
    // stamens and sketches keep their colours, and the composite its own.
    void setMaterial(const Rgba& newDiffuse, const Rgba& newSpecular, const Rgba& newAmbient,
                     float newShininess) override;
    // Re-fits the axis to a stroke of at least 4 points, the segments to their share
    // of it; branches keep their relative positions and shrink with the axis but
    // never grow.
    void reshapeByStroke(const Stroke& stroke) override;
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override;
    void editByPick(int, int, const Vector3&, const Parameters&) override {}
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool flag) const override;

    // --- Structural edits

    // Adds a segment at the end of the axis, re-fitted to `stroke` with its side
    // direction `side`; `placement` receives the segment's matrix.
    void appendAlongAxis(std::unique_ptr<FlowerObjectNode> node, const Stroke& stroke,
                         const Vector3& side, Matrix4* placement = nullptr);
    // Attaches a branch at `position` (0..1 along the axis), re-fitted to `stroke`.
    void addBranch(double position, std::unique_ptr<FlowerObjectComposite> branch,
                   const Stroke& stroke, const Vector3& side, Matrix4* placement = nullptr);
    // Removes the branch that is, or has a segment that is, the object, searching the
    // segments' composites first, then the branches, then inside the branches.
    bool removeBranch(int objectId);
    // Deletes the segment that is or contains the object, and every later one;
    // branches stay. Never deletes this composite: `Emptied` tells the holder to.
    Removal cutAtSegment(int objectId);
    // The eraser on a part this composite holds: removeBranch, or else cutAtSegment.
    Removal removePart(int objectId);
    // Puts `node` in place of the segment with this id, turned to `orientation`.
    bool replaceSegment(int objectId, std::unique_ptr<FlowerObjectNode> node, Vector3 orientation);
    void replaceBranch(int objectId, std::unique_ptr<FlowerObjectComposite> branch,
                       const Vector3& orientation);
    // Makes the branch with this id look like `model`, position by position, with
    // copies that take their ids from `ids`.
    void replaceLike(int objectId, const FlowerObjectComposite& model, const Vector3& orientation,
                     IdCounter& ids);
    // The trackball turn of a branch by a mouse drag `drag` (world units), seen along
    // `viewDirection` (the main camera's look-at point minus its eye), with this
    // composite's model matrix `model`. Drags longer than 0.08 are ignored; whether
    // the branch was found and turned.
    bool turnBranch(int objectId, const Vector3& drag, const Matrix4& model,
                    const Vector3& viewDirection);
    // Moves the strokes of `from`, each transformed by `matrix`, to `to`.
    static void takeStrokes(FlowerObjectNode& from, FlowerObjectNode& to, const Matrix4& matrix);

    // --- Lookups and queries

    // Depth-first search among the segments, then the branches.
    CompositeLookup findChild(int objectId) const;
    // The branch with this id among this composite's own; null when none has it.
    Branch* findBranch(int objectId);
    const Branch* findBranch(int objectId) const;
    // The branch a drag on the part with this id turns: the composite holding the
    // part and the composite holding that branch, by id. Both -1 for this composite
    // and its own parts, which have no holder to turn them in.
    struct BranchTurn {
        int branchId = -1;
        int holderId = -1;
    };
    BranchTurn branchTurnedBy(int partId) const;
    // The placement of the branch with this id, or the identity.
    Matrix4 matrixOfBranch(int objectId) const;
    // Same numbers of branches and segments, branches alike, and every segment a
    // sketch of the same type as its counterpart.
    bool sameStructure(const FlowerObjectComposite& other) const;
    // The nearest part to the ray (origin, unit direction) in this composite's frame.
    CompositeRayHit distanceToRay(const Vector3& origin, const Vector3& direction) const;

    // --- The axis

    void rebuildAxis();
    void rebuildAxisUpward();
    // Rebuilds the axis keeping every child at its absolute arc-length position.
    void rebuildAxisKeepPositions();

    std::vector<Segment> segments;
    std::vector<Branch> branches;
    // The order the plant's flowers open in, each flower head named by its place in
    // flowerHeads(*this); set when the plant is built as an inflorescence of a known
    // type, empty when no order is known. Places beyond the flower heads the plant
    // still has (some were erased by hand) name none.
    std::vector<int> openingOrder;
    // The composite this one is a branch or segment of; null for a plant.
    FlowerObjectComposite* parent = nullptr;

protected:
    // Every part with its placement.
    std::uint64_t geometryKey(const DrawContext& draw) const override;

private:
    // Multiplies every branch position and segment start by `factor`.
    void rescalePositions(double factor);
};

// The node as a composite; null for a node of another kind (or none).
inline FlowerObjectComposite* asComposite(FlowerObjectNode* node) {
    return node && node->kind == kKindComposite ? static_cast<FlowerObjectComposite*>(node)
                                                : nullptr;
}
inline const FlowerObjectComposite* asComposite(const FlowerObjectNode* node) {
    return node && node->kind == kKindComposite ? static_cast<const FlowerObjectComposite*>(node)
                                                : nullptr;
}
// The owned node as an owned composite; null (the node deleted) for another kind.
inline std::unique_ptr<FlowerObjectComposite> asComposite(std::unique_ptr<FlowerObjectNode> node) {
    if (!asComposite(node.get()))
        return nullptr;
    return std::unique_ptr<FlowerObjectComposite>(
        static_cast<FlowerObjectComposite*>(node.release()));
}

// Calls visit(child, placement, segment) with every branch, then every segment, each
// with its placement relative to the composite; `segment` tells the two apart. A
// const composite hands out const children.
template <typename Composite, typename Visit>
void forEachPlacedChild(Composite& composite, Visit&& visit) {
    using Node =
        std::conditional_t<std::is_const_v<Composite>, const FlowerObjectNode, FlowerObjectNode>;
    for (const auto& branch : composite.branches)
        visit(static_cast<Node&>(*branch.composite), branch.placement(), false);
    for (const auto& segment : composite.segments)
        visit(static_cast<Node&>(*segment.node), segment.placement, true);
}

// Every flower head of the plant, inside branches and segments at any depth, in the
// order forEachPlacedChild visits them (branches, then segments), which is also the
// order of the plant's record.
std::vector<const FlowerObjectNode*> flowerHeads(const FlowerObjectComposite& plant);

// The nearest stroke point of an object to a ray, over its owned strokes and then
// its main axis (when it has at least 2 points), in the object's frame; the search
// starts from a distance of 10000.
CompositeRayHit nearestStrokePoint(const FlowerObjectNode& node, const Vector3& origin,
                                   const Vector3& direction);
