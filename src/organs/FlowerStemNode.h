#pragma once

#include "organs/TubeOrganNode.h"

#include <memory>

struct RecordInput;

// A stem: a tube swept along the main axis, tapering from `radius` at the base to
// half of it at the tip. Its rings follow the axis length: m_resV of them on an axis
// shorter than half a unit, otherwise m_resV per half unit.
class FlowerStemNode : public TubeOrganNode {
public:
    // From a drawn axis stroke, with the stem resolutions and width of the parameters.
    FlowerStemNode(int nodeId, const Stroke& axisStroke, const Parameters& parameters);
    // Bare, for the library reader: no axis, no tube, both resolutions 0.
    explicit FlowerStemNode(int nodeId);

    void drawWireframe(const DrawContext& draw) override;
    // The tip (part indices 0, 1) and the base (0, 2).
    void drawControlPoints(const DrawContext& draw) override;
    void save(TextWriter& out, const WriteContext& context) const override;
    // The new axis; the radius follows a tenth of the change in length.
    void reshapeByStroke(const Stroke& stroke) override;
    // Scales the length; the radius stays.
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override;
    // Dragging the tip (0, 1) up or down scales the stem to the new height.
    void editByPick(int row, int column, const Vector3& point,
                    const Parameters& parameters) override;

    // The number of rings for an axis of this length.
    int ringCount(double length) const;
    // Rebuilds the tube along the main axis, one ring per axis segment.
    void rebuildTube();

    int m_resH = 0;
    int m_resV = 0;
    double radius = 0.0;
};

std::unique_ptr<FlowerObjectNode> readStem(RecordInput& input);
