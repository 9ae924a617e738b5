#pragma once

#include "model/FlowerObjectNode.h"
#include "organs/StemShape.h"

// An organ whose surface is a single tube (stem, pistil): it is drawn, picked,
// bounded and exported through its tube, with the node's material and front
// texture. In OBJ files its material is "pistil" followed by the object id,
// whichever of the two it is.
class TubeOrganNode : public FlowerObjectNode {
public:
    using FlowerObjectNode::FlowerObjectNode;

    // Picking pass: the tube in the object's pick colour. Otherwise the owned strokes
    // (when they are shown), then the tube textured or in the material.
    void drawSolid(const DrawContext& draw) override;
    void drawPlain(const DrawContext& draw) override;
    void drawTranslucent(const DrawContext& draw) override;
    void drawOverlay(const DrawContext&) override {}
    int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) override;
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool flag) const override;

    StemShape tube;

protected:
    std::uint64_t geometryKey(const DrawContext& draw) const override;
};
