#pragma once

#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"

#include <memory>

// The smallest concrete plant object, for testing containers and records without
// organ geometry: its shape is its main axis (a re-sketch replaces it), its record a
// colour block, a texture block and the axis.
class AxisNode : public FlowerObjectNode {
public:
    explicit AxisNode(int nodeId, int nodeKind = kKindStem) : FlowerObjectNode(nodeId, nodeKind) {}
    void drawWireframe(const DrawContext&) override {}
    void drawSolid(const DrawContext&) override {}
    void drawControlPoints(const DrawContext&) override {}
    void drawPlain(const DrawContext&) override {}
    void drawTranslucent(const DrawContext&) override {}
    void drawOverlay(const DrawContext&) override {}
    int exportObj(ObjExport&, const Matrix4&, int n) override { return n; }
    void save(TextWriter& out, const WriteContext& context) const override {
        writeColourBlock(out, *this);
        writeTextureBlock(out, *this, context);
        writePointList(out, "mainAxis", mainAxis.points);
    }
    void reshapeByStroke(const Stroke& s) override { mainAxis = s; }
    void scale(double f) override { mainAxis.scale(f); }
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override {
        auto copy = std::make_unique<AxisNode>(ids.nextId(), kind);
        copy->mainAxis = mainAxis;
        copy->setMaterial(diffuse, specular, ambient, shininess);
        return copy;
    }
    void editByPick(int, int, const Vector3&, const Parameters&) override {}
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& m, bool) const override {
        min = max = Vector3();
        for (const Vector3& p : mainAxis.points) {
            const Vector3 q = transformPoint(m, p);
            min = {std::min(min.x, q.x), std::min(min.y, q.y), std::min(min.z, q.z)};
            max = {std::max(max.x, q.x), std::max(max.y, q.y), std::max(max.z, q.z)};
        }
    }
};

// Reads an axis node's record into a node of the given kind.
template <int Kind> std::unique_ptr<FlowerObjectNode> readAxisNode(RecordInput& input) {
    auto node = std::make_unique<AxisNode>(input.context.ids.nextId(), Kind);
    if (!readNodeColours(input.in, *node) || !readTextureBlock(input.in, input.context, *node) ||
        !readPointList(input.in, node->mainAxis.points))
        return nullptr;
    return node;
}

// Readers for axis nodes under every organ keyword.
inline RecordReaderTable axisReaders() {
    RecordReaderTable table;
    table.pistil = readAxisNode<kKindPistil>;
    table.stamen = readAxisNode<kKindStamen>;
    table.petal = readAxisNode<kKindPetal>;
    table.torus = readAxisNode<kKindTorus>;
    table.stem = readAxisNode<kKindStem>;
    table.sketch = readAxisNode<kKindSketch>;
    return table;
}
