#pragma once

#include "model/FlowerObjectComposite.h"
#include "model/FlowerObjectNode.h"

#include <memory>

struct RecordInput;

// A free sketch: up to 30 pen strokes kept as drawn (its owned strokes), with an
// axis, standing in for a part of a plant not modelled yet. It can show a
// translucent billboard over the rectangle that holds its strokes. It has no surface
// and is never exported.
class FlowerSketchNode : public FlowerObjectNode {
public:
    static constexpr int kMaxStrokes = 30;

    enum Type : int {
        kBranch = 0, // also plain pen sketches
        kFlower = 1,
        kLeafOrPetal = 2,
    };

    FlowerSketchNode(int nodeId, int sketchType);

    // The axis, then the billboard when it is shown.
    void drawWireframe(const DrawContext& draw) override;
    // The strokes when the sketch is shown, then the billboard when it is shown.
    void drawSolid(const DrawContext& draw) override;
    void drawControlPoints(const DrawContext&) override {}
    void drawPlain(const DrawContext&) override {}
    void drawTranslucent(const DrawContext& draw) override;
    void drawOverlay(const DrawContext&) override {}
    int exportObj(ObjExport&, const Matrix4&, int vertexCount) override { return vertexCount; }
    void save(TextWriter& out, const WriteContext& context) const override;
    // The stroke becomes the axis and takes the place (and colour) of the first stroke.
    void reshapeByStroke(const Stroke& stroke) override;
    // Scales strokes and axis; the billboard keeps its rectangle.
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override;
    void editByPick(int, int, const Vector3&, const Parameters&) override {}
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool flag) const override;
    int sketchType() const override { return SketchType; }

    // Adds a copy resampled into 30 segments; the first stroke also gives the axis.
    // Ignored once the sketch holds 30 strokes.
    void addStroke(const Stroke& stroke);
    // Ignored for an index outside the strokes.
    void removeStroke(int index);
    // The first stroke's colour, or yellow when there is none.
    Rgba strokeColour() const;
    // The stroke or axis point nearest to a picking ray, in the sketch's frame.
    CompositeRayHit nearestStrokePoint(const Vector3& origin, const Vector3& direction) const {
        return ::nearestStrokePoint(*this, origin, direction);
    }
    // Recomputes the rectangle from every stroke point, starting from the origin.
    void recomputeRectangle();

    // The rectangle in the x-y plane that holds every stroke point and the origin.
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    int SketchType = kBranch;

private:
    void widenRectangle(const Stroke& stroke);
    void drawBillboard(const DrawContext& draw) const;
    void drawSketchStrokes(const DrawContext& draw) const;
};

std::unique_ptr<FlowerObjectNode> readSketch(RecordInput& input);
