#include "organs/FlowerPistilNode.h"

#include "interaction/OpenGL.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganRecords.h"
#include "organs/OrganShaping.h"
#include "organs/PistilChords.h"

namespace {

constexpr std::string_view kHeading = "pistil Color\n";

// The drawn outline smoothed and closed with a segment from its higher end straight
// down to the height of its lower end.
Stroke closedOutline(const Stroke& drawn) {
    Stroke outline = drawn;
    outline.smooth121();
    outline.splineSmooth();
    outline.resampleInPlace(30);
    if (outline.empty())
        return outline;
    const Vector3 first = outline.front();
    const Vector3 last = outline.back();
    if (last.y > first.y)
        outline.add({last.x, first.y, last.z});
    else
        outline.points.insert(outline.points.begin(), {first.x, last.y, first.z});
    return outline;
}

// The middle between the closed outline's two ends: the foot of the pistil.
Vector3 footOf(const Stroke& closed) {
    return closed.empty() ? Vector3() : (closed.front() + closed.back()) * 0.5;
}

} // namespace

FlowerPistilNode::FlowerPistilNode(int nodeId) : TubeOrganNode(nodeId, kKindPistil) {}

FlowerPistilNode::FlowerPistilNode(int nodeId, const Stroke& outlineStroke,
                                   const Parameters& parameters)
    : TubeOrganNode(nodeId, kKindPistil) {
    diffuse = {0.8f, 0.8f, 0.1f, 1.0f};
    specular = {0.1f, 0.1f, 0.1f, 1.0f};
    ambient = {0.8f, 0.8f, 0.1f, 1.0f};
    shininess = 128.0f;

    m_basicCurve = closedOutline(outlineStroke);
    m_basicCurve.translate(-footOf(m_basicCurve));
    m_resV = parameters.pistil.vertical;
    m_resH = parameters.pistil.horizontal;
    m_basicCurve.resampleInPlace(2 * m_resV - 1);
    buildPistil();
}

Vector3 FlowerPistilNode::originOfOutline(const Stroke& outlineStroke) {
    return footOf(closedOutline(outlineStroke));
}

void FlowerPistilNode::buildPistil() {
    const PistilChords chords = pairChords(m_basicCurve.points);
    tube.buildAlongChords(chords, m_resH);
    if (!chords.midpoints.empty())
        controlPoint = chords.midpoints.back();
    mainAxis.points = chords.midpoints;
}

// --- Drawing

void FlowerPistilNode::drawWireframe(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    drawAxisSegments(mainAxis.points, 3.0f, kAxisColour);
    tube.drawWireframe();
    m_basicCurve.drawSketch();
    drawStrokes(draw);
}

void FlowerPistilNode::drawControlPoints(const DrawContext& draw) {
    drawControlPoint(draw, *this, controlPoint, 16.0f, 0, 1);
}

// --- Edits

void FlowerPistilNode::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 3)
        return;
    Stroke axis = stroke;
    axis.smooth121();
    axis.translate(-axis.front());

    const PistilChords chords = pairChords(m_basicCurve.points);
    const int m = chords.size();
    if (m == 0)
        return;
    const PointList& M = chords.midpoints;
    // The old midpoints' spacing, stretched to the new axis's length.
    const double oldLength = polylineLength(M);
    const double stretch = oldLength > 0.0 ? axis.length() / oldLength : 0.0;
    PointList N;
    double s = 0.0;
    for (int k = 0; k + 1 < m; ++k) {
        N.push_back(axis.pointAtLength(s).point);
        s += distance(M[k + 1], M[k]) * stretch;
    }
    N.push_back(axis.back());

    PointList outline(2 * static_cast<size_t>(m));
    for (int u = 0; u + 1 < m; ++u) {
        outline[u] = chords.sideA[u] - M[u] + N[u];
        outline[2 * m - 1 - u] = chords.sideB[u] - M[u] + N[u];
    }
    outline[m - 1] = N[m - 1];
    outline[m] = N[m - 1];

    mainAxis.clear();
    m_basicCurve.points = std::move(outline);
    for (int pass = 0; pass < 3; ++pass)
        m_basicCurve.smooth121();
    m_basicCurve.resampleInPlace(2 * m_resV - 1);
    buildPistil();
}

void FlowerPistilNode::scale(double factor) {
    mainAxis.scale(factor);
    m_basicCurve.scale(factor);
    buildPistil();
}

void FlowerPistilNode::editByPick(int row, int column, const Vector3& point, const Parameters&) {
    if (row != 0 || column != 1)
        return;
    if (const auto factor = heightScale(controlPoint.y, point, 0.05)) {
        m_basicCurve.scale(*factor);
        buildPistil();
    }
}

std::unique_ptr<FlowerObjectNode> FlowerPistilNode::clone(IdCounter& ids) const {
    auto copy = std::make_unique<FlowerPistilNode>(ids.nextId());
    copy->copyMaterialAndTextureFrom(*this);
    copy->m_resV = m_resV;
    copy->m_resH = m_resH;
    copy->m_basicCurve = m_basicCurve;
    copy->buildPistil();
    return copy;
}

// --- Record

void FlowerPistilNode::save(TextWriter& out, const WriteContext& context) const {
    writeAppearance(out, kHeading, *this, context);
    // The two resolutions run into the next label, as library files have them.
    out.format("m_resV %d", m_resV);
    out.format("m_resH %d", m_resH);
    writePointList(out, "m_basicCurve", m_basicCurve.points);
}

std::unique_ptr<FlowerObjectNode> readPistil(RecordInput& input) {
    TextReader& in = input.in;
    auto pistil = std::make_unique<FlowerPistilNode>(input.context.ids.nextId());
    if (!readAppearance(input, kHeading, *pistil) || !readLabelledResolution(in, pistil->m_resV) ||
        !readLabelledResolution(in, pistil->m_resH) ||
        !readPointList(in, pistil->m_basicCurve.points))
        return nullptr;
    pistil->buildPistil();
    return pistil;
}
