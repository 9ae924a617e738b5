#pragma once

#include "model/FlowerObjectNode.h"
#include "model/RecordBlocks.h"
#include "organs/StemShape.h"

#include <memory>

struct RecordInput;

// A stamen: a thin filament swept along the main axis, narrowing to 30 percent at
// its tip, carrying an anther, a spindle swept along its own short axis and placed
// by `RotAndTrans`. The filament uses the node's material and front texture, the
// anther its own material and the back texture.
class FlowerStamenNode : public FlowerObjectNode {
public:
    // From a filament stroke: the axis gets 31 points, the resolutions and the width
    // come from the parameters, and there is no anther yet.
    FlowerStamenNode(int nodeId, const Stroke& filamentStroke, const Parameters& parameters);
    // Bare, for the library reader and clone: no axes, no shapes, all resolutions 0.
    explicit FlowerStamenNode(int nodeId);

    void drawWireframe(const DrawContext& draw) override;
    void drawSolid(const DrawContext& draw) override;
    // The base (part indices 0, 1) and the tip (0, 2).
    void drawControlPoints(const DrawContext& draw) override;
    void drawPlain(const DrawContext& draw) override;
    void drawTranslucent(const DrawContext& draw) override;
    void drawOverlay(const DrawContext&) override {}
    int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) override;
    void save(TextWriter& out, const WriteContext& context) const override;
    // A new filament axis; a shorter one thins the stamen, a longer one does not.
    void reshapeByStroke(const Stroke& stroke) override;
    // Scales the length; only shrinking thins the filament and the anther.
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override;
    // Dragging the tip (0, 2) scales the filament to the new height; the anther
    // follows the tip without being rebuilt.
    void editByPick(int row, int column, const Vector3& point,
                    const Parameters& parameters) override;
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool flag) const override;

    // Gives the stamen an anther along `stroke` (5 points or more), where it was
    // drawn, with the anther width and resolutions of `parameters`.
    void setAnther(const Stroke& stroke, const Parameters& parameters);
    // The stamen is drawn without an anther until the next setAnther; its axis and
    // placement stay.
    void removeAnther();
    // Alpha values included.
    void setAntherMaterial(const Rgba& newAmbient, const Rgba& newDiffuse, const Rgba& newSpecular,
                           float newShininess);

    // Moves the anther so that its middle point sits on the filament's tip.
    void placeAnther();
    void rebuildFilament();
    void rebuildAnther();

    Matrix4 RotAndTrans;
    // Relative to its first point.
    Stroke m_antherAxis;
    int filamentColumns = 0;
    int filamentRows = 0;
    int antherRows = 0;
    int antherColumns = 0;
    double radius = 0.0;
    double antherRadius = 0.0;
    StemShape filament;
    StemShape anther;
    MaterialBlock antherMaterial;

protected:
    std::uint64_t geometryKey(const DrawContext& draw) const override;
};

std::unique_ptr<FlowerObjectNode> readStamen(RecordInput& input);
