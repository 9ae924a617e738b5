#pragma once

#include "model/FlowerObjectNode.h"

#include <memory>
#include <type_traits>
#include <vector>

class SceneRoot;
struct RecordInput;

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
// composite, attached at fractions 0..1 of the axis length.
//
// Entry i of m_children, m_childrenMat, m_childrenMatRot, m_childrenMatRelateveRot
// and childPositionLR describe branch i; entry j of m_childrenArongAxis,
// m_childrenMatArongAxis, m_childrenMatArongAxisZrot and childPositionLRAA describe
// segment j. The main axis is the concatenation of the segments' axes, each under
// its placement.
class FlowerObjectComposite : public FlowerObjectNode {
public:
    explicit FlowerObjectComposite(int nodeId) : FlowerObjectNode(nodeId, kKindComposite) {}

    void drawWireframe() override;
    void drawSolid() override;
    void drawControlPoints() override {}
    void drawPlain() override;
    void drawTranslucent() override;
    // A square at the base of the plant, a tenth of the axis height wide.
    void drawOverlay() override;
    int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) override;
    void save(TextWriter& out) const override;
    // Passed on to stems, receptacles and composites only; leaves, petals, pistils,
    // stamens and sketches keep their colours, and the composite its own.
    void setMaterial(const Rgba& newDiffuse, const Rgba& newSpecular, const Rgba& newAmbient,
                     float newShininess) override;
    // Re-fits the axis to a stroke of at least 4 points, the segments to their share
    // of it; branches keep their relative positions and shrink with the axis but
    // never grow.
    void reshapeByStroke(const Stroke& stroke) override;
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone() const override;
    void editByPick(int, int, const Vector3&) override {}
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool flag) const override;

    // Adds a segment at the end of the axis, re-fitted to `stroke` with its side
    // direction `side`; `placement` receives the segment's matrix.
    void appendAlongAxis(std::unique_ptr<FlowerObjectNode> node, const Stroke& stroke,
                         const Vector3& side, Matrix4* placement = nullptr);
    // Attaches a branch at `position` (0..1 along the axis), re-fitted to `stroke`.
    void addBranch(double position, std::unique_ptr<FlowerObjectComposite> branch,
                   const Stroke& stroke, const Vector3& side, Matrix4* placement = nullptr);
    // Depth-first search among the segments, then the branches.
    CompositeLookup findChild(int objectId) const;
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
    bool removeBranch(int objectId);
    // Puts `node` in place of the segment with this id, turned to `orientation`.
    bool replaceSegment(int objectId, std::unique_ptr<FlowerObjectNode> node, Vector3 orientation);
    void replaceBranch(int objectId, std::unique_ptr<FlowerObjectComposite> branch,
                       const Vector3& orientation);
    // Makes the branch with this id look like `model`, position by position.
    void replaceLike(int objectId, const FlowerObjectComposite& model, const Vector3& orientation);
    // Deletes the segment that is or contains the object, and every later one. A
    // composite left without segments removes itself: from its parent, or from
    // `openScene` when it stands there. After a true result `this` may be gone.
    bool cutAtSegment(int objectId, SceneRoot* openScene);
    // The trackball turn of a branch by a mouse drag `drag` (world units), seen along
    // `viewDirection` (the main camera's look-at point minus its eye), with this
    // composite's model matrix `model`. Drags longer than 0.08 are ignored; whether
    // the branch was found and turned.
    bool turnBranch(int objectId, const Vector3& drag, const Matrix4& model,
                    const Vector3& viewDirection);
    void rebuildAxis();
    void rebuildAxisUpward();
    // Rebuilds the axis keeping every child at its absolute arc-length position.
    void rebuildAxisKeepPositions();
    // Moves the strokes of `from`, each transformed by `matrix`, to `to`.
    static void takeStrokes(FlowerObjectNode& from, FlowerObjectNode& to, const Matrix4& matrix);
    // Same numbers of branches and segments, branches alike, and every segment a
    // sketch of the same type as its counterpart.
    bool sameStructure(const FlowerObjectComposite& other) const;
    // The nearest part to the ray (origin, unit direction) in this composite's frame.
    CompositeRayHit distanceToRay(const Vector3& origin, const Vector3& direction) const;
    // Draws the bounding box as the highlight of a candidate.
    void drawHighlightBox() const;

    std::vector<Matrix4> m_childrenMatRot;
    std::vector<Matrix4> m_childrenMatRelateveRot;
    std::vector<Matrix4> m_childrenMat;
    std::vector<Matrix4> m_childrenMatArongAxis;
    std::vector<Matrix4> m_childrenMatArongAxisZrot;
    std::vector<double> childPositionLR;
    std::vector<double> childPositionLRAA;
    std::vector<std::unique_ptr<FlowerObjectComposite>> m_children;
    std::vector<std::unique_ptr<FlowerObjectNode>> m_childrenArongAxis;
    FlowerObjectComposite* parent = nullptr;

    // The placement of branch i: m_childrenMat[i] x m_childrenMatRot[i].
    Matrix4 branchMatrix(size_t i) const { return m_childrenMat[i] * m_childrenMatRot[i]; }
    // The index of the branch with this id; the number of branches when none has it.
    size_t branchIndex(int objectId) const;

private:
    void removeSegmentsFrom(size_t first);
    void removeBranchAt(size_t i);
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
    for (size_t i = 0; i < composite.m_children.size(); ++i)
        visit(static_cast<Node&>(*composite.m_children[i]), composite.branchMatrix(i), false);
    for (size_t j = 0; j < composite.m_childrenArongAxis.size(); ++j)
        visit(static_cast<Node&>(*composite.m_childrenArongAxis[j]),
              composite.m_childrenMatArongAxis[j], true);
}

// The nearest stroke point of an object to a ray, over its owned strokes and then
// its main axis (when it has at least 2 points), in the object's frame; the search
// starts from a distance of 10000.
CompositeRayHit nearestStrokePoint(const FlowerObjectNode& node, const Vector3& origin,
                                   const Vector3& direction);

// Composite children as the records write them: "child index %d\n", then the
// child as a "Composit" entry.
void writeCompositeChildren(TextWriter& out,
                            const std::vector<std::unique_ptr<FlowerObjectComposite>>& children);
// Reads `count` such children; each gets `parent` as its parent link.
bool readCompositeChildren(RecordInput& input, int count, FlowerObjectComposite* parent,
                           std::vector<std::unique_ptr<FlowerObjectComposite>>& children);

std::unique_ptr<FlowerObjectNode> readComposite(RecordInput& input);
