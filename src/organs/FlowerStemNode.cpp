#include "organs/FlowerStemNode.h"

#include "interaction/OpenGL.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganRecords.h"
#include "organs/OrganShaping.h"

#include <algorithm>
#include <cmath>

namespace {

// The heading of a stem record, as library files have it.
constexpr std::string_view kHeading = "stamen Color\n";

} // namespace

FlowerStemNode::FlowerStemNode(int nodeId) : TubeOrganNode(nodeId, kKindStem) {}

FlowerStemNode::FlowerStemNode(int nodeId, const Stroke& axisStroke, const Parameters& parameters)
    : TubeOrganNode(nodeId, kKindStem) {
    diffuse = {0.2f, 0.8f, 0.0f, 0.5f};
    specular = {0.1f, 0.1f, 0.1f, 0.5f};
    ambient = {0.2f, 0.4f, 0.2f, 0.5f};
    shininess = 128.0f;
    radius = parameters.stemWidth();
    m_resH = parameters.stem.horizontal;
    m_resV = parameters.stem.vertical;

    mainAxis = axisStroke;
    mainAxis.smooth121();
    mainAxis.splineSmooth();
    mainAxis.resampleInPlace(ringCount(axisStroke.length()));
    rebuildTube();
}

int FlowerStemNode::ringCount(double length) const {
    if (!(length >= 0.5))
        return m_resV;
    const double rings = length * m_resV * 2.0;
    return rings < StemShape::kMaxRows ? static_cast<int>(rings) : StemShape::kMaxRows;
}

void FlowerStemNode::rebuildTube() {
    tube.buildTube(mainAxis, 1.0, radius, radius * 0.5, mainAxis.size() - 1, m_resH);
}

// --- Drawing

void FlowerStemNode::drawWireframe(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    glPushMatrix();
    drawAxisSegments(mainAxis.points, 4.0f, kAxisColour);
    tube.drawWireframe();
    drawStrokes(draw);
    glPopMatrix();
}

void FlowerStemNode::drawControlPoints(const DrawContext& draw) {
    if (mainAxis.empty())
        return;
    drawControlPoint(draw, *this, mainAxis.back(), 16.0f, 0, 1);
    drawControlPoint(draw, *this, mainAxis.front(), 16.0f, 0, 2);
}

// --- Edits

void FlowerStemNode::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 3)
        return;
    const double oldLength = mainAxis.length();
    const double newLength = stroke.length();
    const double k = oldLength > 0.0 ? newLength / oldLength : 1.0;
    radius *= (k - 1.0) * 0.1 + 1.0;
    // Never fewer rings than the stem has now, so that a re-sketch does not coarsen it.
    const int rings =
        std::min(std::max(ringCount(newLength), mainAxis.size() - 1), StemShape::kMaxRows);
    mainAxis.points = stroke.points;
    mainAxis.resampleInPlace(rings);
    rebuildTube();
}

void FlowerStemNode::scale(double factor) {
    mainAxis.scale(factor);
    mainAxis.resampleInPlace(ringCount(mainAxis.length()));
    rebuildTube();
}

void FlowerStemNode::editByPick(int row, int column, const Vector3& point, const Parameters&) {
    if (row != 0 || column != 1 || mainAxis.empty())
        return;
    if (const auto factor = heightScale(mainAxis.back().y, point, 0.001))
        scale(*factor);
}

std::unique_ptr<FlowerObjectNode> FlowerStemNode::clone(IdCounter& ids) const {
    auto copy = std::make_unique<FlowerStemNode>(ids.nextId());
    copy->copyMaterialAndTextureFrom(*this);
    copy->m_resH = m_resH;
    copy->m_resV = m_resV;
    copy->mainAxis = mainAxis;
    copy->radius = radius;
    copy->rebuildTube();
    return copy;
}

// --- Record

void FlowerStemNode::save(TextWriter& out, const WriteContext& context) const {
    writeAppearance(out, kHeading, *this, context);
    out.format("m_resH %d\n", m_resH);
    out.format("m_resV %d\n", m_resV);
    out.format("radius %f\n", radius);
    writePointList(out, "mainAxis", mainAxis.points);
}

std::unique_ptr<FlowerObjectNode> readStem(RecordInput& input) {
    TextReader& in = input.in;
    auto stem = std::make_unique<FlowerStemNode>(input.context.ids.nextId());
    if (!readAppearance(input, kHeading, *stem) || !readLabelledResolution(in, stem->m_resH) ||
        !readLabelledResolution(in, stem->m_resV) || !readLabelled(in, stem->radius) ||
        !readPointList(in, stem->mainAxis.points))
        return nullptr;
    stem->rebuildTube();
    return stem;
}
