#pragma once

#include "organs/TubeOrganNode.h"

#include <memory>

struct RecordInput;

// A pistil: its outline, drawn up one side and down the other, is closed, centred
// and paired into chords across it; a tube is inflated around the chords' midpoints
// with every chord as its ring's diameter. The outline is the only stored shape; the
// midpoints become the main axis and the topmost one the single control point.
class FlowerPistilNode : public TubeOrganNode {
public:
    // From an outline stroke, with the pistil resolutions of the parameters. The
    // outline is moved so that the middle of its foot is the origin.
    FlowerPistilNode(int nodeId, const Stroke& outlineStroke, const Parameters& parameters);
    // Where the pistil built from this outline stroke has its origin, in the
    // stroke's own frame: the amount the construction moves the outline by, negated.
    static Vector3 originOfOutline(const Stroke& outlineStroke);
    // Bare, for the library reader and clone: no outline, no tube, resolutions 0.
    explicit FlowerPistilNode(int nodeId);

    void drawWireframe(const DrawContext& draw) override;
    // The top of the pistil (part indices 0, 1).
    void drawControlPoints(const DrawContext& draw) override;
    void save(TextWriter& out, const WriteContext& context) const override;
    // Moves the pistil onto a new axis; every chord keeps its shape and its offset
    // from its midpoint.
    void reshapeByStroke(const Stroke& stroke) override;
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override;
    // Dragging the top (0, 1) scales the outline to the new height.
    void editByPick(int row, int column, const Vector3& point,
                    const Parameters& parameters) override;

    // Rebuilds the tube, the main axis and the control point from the outline.
    void buildPistil();

    // Half the number of outline points.
    int m_resV = 0;
    int m_resH = 0;
    Vector3 controlPoint;
    Stroke m_basicCurve;
};

std::unique_ptr<FlowerObjectNode> readPistil(RecordInput& input);
