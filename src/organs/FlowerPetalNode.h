#pragma once

#include "model/FlowerObjectNode.h"
#include "organs/PetalControlPointManager.h"
#include "organs/PetalShape.h"

#include <memory>

struct RecordInput;

// Every flat organ: petals, leaves and sepals are this one class and differ only in
// where they are used. The node owns the control net and the surface sampled from
// it, and keeps its main axis equal to the net's midrib column: after every
// construction and edit the axis holds one point per net row.
class FlowerPetalNode : public FlowerObjectNode {
public:
    // A petal sketched as left outline, midrib and right outline (base to tip, in the
    // petal's frame), with the petal material and the resolutions and net size of
    // `parameters`.
    FlowerPetalNode(int nodeId, const Stroke& left, const Stroke& midrib, const Stroke& right,
                    const Parameters& parameters);
    // A bare petal with no net, for copies and the library reader to fill.
    explicit FlowerPetalNode(int nodeId) : FlowerObjectNode(nodeId, kKindPetal) {}

    void drawWireframe(const DrawContext& draw) override;
    void drawSolid(const DrawContext& draw) override;
    void drawControlPoints(const DrawContext& draw) override;
    void drawPlain(const DrawContext& draw) override;
    void drawTranslucent(const DrawContext& draw) override;
    void drawOverlay(const DrawContext&) override {}
    int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) override;
    void save(TextWriter& out, const WriteContext& context) const override;
    // Re-sketches the midrib with a stroke of at least 3 points: the net is scaled
    // about the base by the ratio of the axis lengths and each row follows the new
    // axis.
    void reshapeByStroke(const Stroke& stroke) override;
    // Scales the net about the base.
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override;
    // Drags control point (row, column); the base row never moves.
    void editByPick(int row, int column, const Vector3& point,
                    const Parameters& parameters) override;
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool flag) const override;

    // Resamples after an edit of inner points (the resolution is unchanged).
    void refreshShape();
    // Rebuilds the shape at the node's resolution and refills the main axis.
    void rebuildShape();
    // Puts the main axis back on the midrib column.
    void syncAxis();

    PetalControlPointManager& controlPoints() { return net_; }
    const PetalControlPointManager& controlPoints() const { return net_; }
    const PetalShape& shape() const { return shape_; }
    // For the library reader: a net read from a file, then rebuildShape.
    void setControlPoints(PetalControlPointManager net) { net_ = std::move(net); }

    int m_resVert = 0;
    int m_resHori = 0;

protected:
    std::uint64_t geometryKey(const DrawContext& draw) const override;

private:
    // Scales every control point about the base (row 0, column 0).
    void scaleAboutBase(double factor);

    PetalShape shape_;
    PetalControlPointManager net_;
};

// Reads a "Petal" record body. Null for a net that later code could not index: a
// row or column count that is not positive, an even column count, or more points
// than the text can hold. Resolutions are brought into the parameters' range.
std::unique_ptr<FlowerObjectNode> readPetal(RecordInput& input);
