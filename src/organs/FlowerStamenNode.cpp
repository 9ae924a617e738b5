#include "organs/FlowerStamenNode.h"

#include "interaction/OpenGL.h"
#include "math/ContentHash.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ObjExport.h"
#include "model/ReadContext.h"
#include "organs/ObjWriter.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganExport.h"
#include "organs/OrganRecords.h"
#include "organs/OrganShaping.h"

namespace {

constexpr double kTipNarrowing = 0.3;

// The headings of a stamen record: the filament's colours come first.
constexpr std::string_view kHeading = "Filament Color\n";
constexpr std::string_view kAntherHeading = "Anther Color\n";
constexpr std::string_view kPlacementHeading = "RotAndTrans\n";

// Draws under the anther's placement.
template <typename Draw> void underPlacement(const Matrix4& placement, Draw draw) {
    glPushMatrix();
    glMultMatrixd(placement.data());
    draw();
    glPopMatrix();
}

} // namespace

FlowerStamenNode::FlowerStamenNode(int nodeId) : FlowerObjectNode(nodeId, kKindStamen) {
    antherMaterial = {.diffuse = {0.6f, 0.2f, 0.1f, 0.4f},
                      .specular = {0.2f, 0.1f, 0.0f, 0.4f},
                      .ambient = {0.6f, 0.3f, 0.1f, 0.4f},
                      .shininess = 128.0f};
}

FlowerStamenNode::FlowerStamenNode(int nodeId, const Stroke& filamentStroke,
                                   const Parameters& parameters)
    : FlowerObjectNode(nodeId, kKindStamen) {
    mainAxis = filamentStroke;
    mainAxis.resampleInPlace(30);
    mainAxis.smooth121();
    mainAxis.splineSmooth();
    mainAxis.resampleInPlace(30);

    radius = parameters.stamenWidth();
    filamentColumns = parameters.stamen.horizontal;
    filamentRows = parameters.stamen.vertical;
    rebuildFilament();

    diffuse = {0.75f, 0.95f, 0.05f, 0.5f};
    specular = {0.0f, 0.0f, 0.0f, 0.5f};
    ambient = {0.3f, 0.6f, 0.5f, 0.5f};
    shininess = 128.0f;
    antherMaterial = {.diffuse = {0.4f, 0.2f, 0.1f, 1.0f},
                      .specular = {0.2f, 0.1f, 0.0f, 1.0f},
                      .ambient = {0.4f, 0.15f, 0.1f, 1.0f},
                      .shininess = 128.0f};
}

void FlowerStamenNode::setAnther(const Stroke& stroke, const Parameters& parameters) {
    if (stroke.size() < 5)
        return;
    m_antherAxis = stroke;
    m_antherAxis.smooth121();
    m_antherAxis.resampleInPlace(m_antherAxis.size());
    antherRadius = parameters.antherWidth();
    const Vector3 first = m_antherAxis.front();
    RotAndTrans = Matrix4::translation(first);
    m_antherAxis.translate(-first);
    antherColumns = parameters.anther.horizontal;
    antherRows = parameters.anther.vertical;
    rebuildAnther();
}

void FlowerStamenNode::removeAnther() {
    anther.clear();
    antherRows = 0;
    antherColumns = 0;
}

void FlowerStamenNode::setAntherMaterial(const Rgba& newAmbient, const Rgba& newDiffuse,
                                         const Rgba& newSpecular, float newShininess) {
    antherMaterial = {.diffuse = newDiffuse,
                      .specular = newSpecular,
                      .ambient = newAmbient,
                      .shininess = newShininess};
}

void FlowerStamenNode::placeAnther() {
    const Vector3 tip = mainAxis.empty() ? Vector3() : mainAxis.back();
    const int n = m_antherAxis.size();
    RotAndTrans = Matrix4::translation(n == 0 ? tip : tip - m_antherAxis.points[n / 2]);
}

void FlowerStamenNode::rebuildFilament() {
    filament.buildTube(mainAxis, 1.0, radius, kTipNarrowing * radius, filamentRows,
                       filamentColumns);
}

void FlowerStamenNode::rebuildAnther() {
    anther.buildAnther(m_antherAxis, antherRadius, antherRows, antherColumns);
}

// --- Drawing

void FlowerStamenNode::drawWireframe(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    drawAxisSegments(mainAxis.points, 3.0f, kAxisColour);
    filament.drawWireframe();
    drawStrokes(draw);
    underPlacement(RotAndTrans, [&] { anther.drawWireframe(); });
}

void FlowerStamenNode::drawSolid(const DrawContext& draw) {
    if (draw.snapshot) {
        beginPickingPass(draw);
        filament.drawPlain();
        if (m_antherAxis.size() >= 3)
            underPlacement(RotAndTrans, [&] { anther.drawPlain(); });
        return;
    }
    drawTubeSurface(draw, filament, hasTexture, textureFront, diffuse, shininess, specular, ambient);
    drawStrokes(draw);
    underPlacement(RotAndTrans, [&] {
        drawTubeSurface(draw, anther, hasTexture, textureBack, antherMaterial.diffuse,
                        antherMaterial.shininess, antherMaterial.specular, antherMaterial.ambient);
    });
}

std::uint64_t FlowerStamenNode::geometryKey(const DrawContext&) const {
    return ContentHash()
        .add(filament.contentKey())
        .add(anther.contentKey())
        .add(RotAndTrans)
        .add(antherMaterial.diffuse)
        .add(antherMaterial.specular)
        .add(antherMaterial.ambient)
        .add(antherMaterial.shininess)
        .value();
}

void FlowerStamenNode::drawControlPoints(const DrawContext& draw) {
    if (mainAxis.empty())
        return;
    drawControlPoint(draw, *this, mainAxis.front(), 15.0f, 0, 1);
    drawControlPoint(draw, *this, mainAxis.back(), 15.0f, 0, 2);
}

void FlowerStamenNode::drawPlain(const DrawContext&) {
    filament.drawPlain();
    underPlacement(RotAndTrans, [&] { anther.drawPlain(); });
}

void FlowerStamenNode::drawTranslucent(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    filament.drawTranslucent(diffuse, shininess, specular, ambient);
    underPlacement(RotAndTrans, [&] {
        anther.drawTranslucent(antherMaterial.diffuse, antherMaterial.shininess,
                               antherMaterial.specular, antherMaterial.ambient);
    });
}

int FlowerStamenNode::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    const std::string filamentName = organMaterialName("stamen", id);
    const std::string antherName = organMaterialName("stamenAnther", id);
    writeMaterial(out.mtl, filamentName, ambient, diffuse, specular, shininess, "");
    writeMaterial(out.mtl, antherName, antherMaterial.ambient, antherMaterial.diffuse,
                  antherMaterial.specular, antherMaterial.shininess, "");
    vertexCount = writeTubeGroups(out, filament, 0, id, filamentName, matrix, vertexCount);
    return writeTubeGroups(out, anther, 1, id, antherName, matrix * RotAndTrans, vertexCount);
}

// --- Edits

void FlowerStamenNode::scale(double factor) {
    mainAxis.scale(factor);
    if (factor < 1.0) {
        radius *= factor;
        antherRadius *= factor;
        if (m_antherAxis.size() >= 3)
            m_antherAxis.scale(factor);
    }
    placeAnther();
    rebuildAnther();
    rebuildFilament();
}

void FlowerStamenNode::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 3)
        return;
    const double oldLength = mainAxis.length();
    const double k = oldLength > 0.0 ? stroke.length() / oldLength : 1.0;
    mainAxis.points = stroke.points;
    if (k < 1.0) {
        radius *= k;
        antherRadius *= k;
        m_antherAxis.scale(k);
    }
    mainAxis.resampleInPlace(filamentRows);
    placeAnther();
    rebuildFilament();
    rebuildAnther();
}

void FlowerStamenNode::editByPick(int row, int column, const Vector3& point,
                                  const Parameters& parameters) {
    if (row != 0 || column != 2 || mainAxis.empty())
        return;
    const auto factor = heightScale(mainAxis.back().y, point, 0.001);
    if (!factor)
        return;
    mainAxis.scale(*factor);
    radius = parameters.stamenWidth();
    rebuildFilament();
    RotAndTrans.setTranslation(RotAndTrans.translationPart() * *factor);
}

std::unique_ptr<FlowerObjectNode> FlowerStamenNode::clone(IdCounter& ids) const {
    auto copy = std::make_unique<FlowerStamenNode>(ids.nextId());
    copy->mainAxis = mainAxis;
    copy->m_antherAxis = m_antherAxis;
    copy->copyMaterialAndTextureFrom(*this);
    copy->antherMaterial = antherMaterial;
    copy->radius = radius;
    copy->antherRadius = antherRadius;
    copy->filamentRows = filamentRows;
    copy->filamentColumns = filamentColumns;
    copy->antherRows = antherRows;
    copy->antherColumns = antherColumns;
    copy->filament.copyFrom(filament);
    copy->anther.copyFrom(anther);
    copy->RotAndTrans = RotAndTrans;
    return copy;
}

void FlowerStamenNode::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool) const {
    filament.boundingBox(matrix, min, max);
    Vector3 antherMin, antherMax;
    anther.boundingBox(matrix * RotAndTrans, antherMin, antherMax);
    widenBox(min, max, antherMin, antherMax);
}

// --- Record

void FlowerStamenNode::save(TextWriter& out, const WriteContext& context) const {
    writeAppearance(out, kHeading, *this, context);
    out.format("radius %f\n", radius);
    writePointList(out, "mainAxis", mainAxis.points);
    out.text(kAntherHeading);
    writeColourBlock(out, antherMaterial.diffuse, antherMaterial.specular, antherMaterial.ambient,
                     antherMaterial.shininess);
    out.text(kPlacementHeading);
    RotAndTrans.writeRaw(out);
    out.text("\n");
    out.format("antheRadius %f\n", antherRadius);
    writePointList(out, "m_antherAxis", m_antherAxis.points);
    out.format("resolution %d %d\n", filamentRows, filamentColumns);
    out.format("Antherresolution %d %d\n", antherRows, antherColumns);
}

std::unique_ptr<FlowerObjectNode> readStamen(RecordInput& input) {
    TextReader& in = input.in;
    auto stamen = std::make_unique<FlowerStamenNode>(input.context.ids.nextId());
    FlowerStamenNode& s = *stamen;
    if (!readAppearance(input, kHeading, s) || !readLabelled(in, s.radius) ||
        !readPointList(in, s.mainAxis.points) || !readHeading(in, kAntherHeading) ||
        !readColourBlock(in, s.antherMaterial) || !readHeading(in, kPlacementHeading) ||
        !s.RotAndTrans.readRaw(in) || !readLabelled(in, s.antherRadius) ||
        !readPointList(in, s.m_antherAxis.points) || !readLabelled(in, s.filamentRows) ||
        !in.integer(s.filamentColumns) || !readLabelled(in, s.antherRows) ||
        !in.integer(s.antherColumns))
        return nullptr;
    s.filamentRows = clampedResolution(s.filamentRows);
    s.filamentColumns = clampedResolution(s.filamentColumns);
    if (s.antherColumns < 0 || s.antherColumns > 100) {
        s.antherRows = 0;
        s.antherColumns = 0;
    } else if (s.antherColumns > 0) {
        s.antherRows = clampedResolution(s.antherRows);
        s.antherColumns = clampedResolution(s.antherColumns);
    }
    s.rebuildFilament();
    if (!s.m_antherAxis.empty())
        s.rebuildAnther();
    return stamen;
}
