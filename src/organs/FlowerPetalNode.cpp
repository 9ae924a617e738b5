#include "organs/FlowerPetalNode.h"

#include "interaction/OpenGL.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ObjExport.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"
#include "model/TextureCache.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganExport.h"
#include "organs/OrganRecords.h"
#include "organs/OrganShaping.h"

#include <string>

namespace {

constexpr std::string_view kHeading = "color\n";

// "0 0 0 0 0\n": the shortest text a control point line can have.
constexpr size_t kMinControlPointBytes = 10;

const Rgba kEndPointColour{1.0f, 0.0f, 0.0f, 1.0f};
const Rgba kInnerPointColour{0.0f, 1.0f, 0.5f, 1.0f};

} // namespace

FlowerPetalNode::FlowerPetalNode(int nodeId, const Stroke& left, const Stroke& midrib,
                                 const Stroke& right, const Parameters& parameters)
    : FlowerObjectNode(nodeId, kKindPetal) {
    diffuse = {0.8f, 0.7f, 0.5f, 0.5f};
    specular = {0.1f, 0.1f, 0.1f, 0.5f};
    ambient = {0.4f, 0.35f, 0.25f, 0.5f};
    shininess = 128.0f;
    net_.createFromOutline(left.points, midrib.points, right.points, parameters.petalControlPoints);
    m_resHori = parameters.petal.horizontal;
    m_resVert = parameters.petal.vertical;
    rebuildShape();
}

void FlowerPetalNode::drawWireframe(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    drawAxisSegments(mainAxis.points, 3.0f, kAxisColour);
    shape_.drawWireframe();
    drawStrokes(draw);
}

void FlowerPetalNode::drawSolid(const DrawContext& draw) {
    glPushMatrix();
    if (draw.snapshot) {
        beginPickingPass(draw);
        shape_.drawPlain();
    } else {
        // A texture the cache does not know is drawn as none; when it knows neither,
        // the petal forgets both and keeps to its material from then on.
        const int front = textureKnown(draw.textures, textureFront) ? textureFront : -1;
        const int back = textureKnown(draw.textures, textureBack) ? textureBack : -1;
        if (hasTexture && (front >= 0 || back >= 0)) {
            shape_.drawTextured(*draw.textures, front, back, draw.batches);
        } else {
            if (hasTexture)
                setTexture(false, -1, -1);
            shape_.drawShaded(diffuse, shininess, specular, ambient, draw.batches);
        }
        drawStrokes(draw);
    }
    glPopMatrix();
}

std::uint64_t FlowerPetalNode::geometryKey(const DrawContext&) const {
    return shape_.contentKey();
}

void FlowerPetalNode::drawControlPoints(const DrawContext& draw) {
    if (net_.empty())
        return;
    glPushMatrix();
    glDisable(GL_BLEND);
    // The base and the tip are one point each; a pick names them by the last column.
    const int tip = net_.tipRow();
    const int last = net_.lastColumn();
    drawControlPoint(draw, *this, net_.midribPoint(0), 8.0f, 0, last, kEndPointColour);
    drawControlPoint(draw, *this, net_.midribPoint(tip), 8.0f, tip, last, kEndPointColour);
    for (int r = 1; r < tip; ++r)
        for (int k = 0; k < net_.columnCount(); ++k)
            drawControlPoint(draw, *this, net_.pointAt(r, k), 8.0f, r, k, kInnerPointColour);
    glPopMatrix();
}

void FlowerPetalNode::drawPlain(const DrawContext&) {
    glPushMatrix();
    shape_.drawPlain();
    glPopMatrix();
}

void FlowerPetalNode::drawTranslucent(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    shape_.drawTranslucent(diffuse, shininess, specular, ambient);
}

int FlowerPetalNode::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    const std::string front = organMaterialName("petalFront", id);
    const std::string back = organMaterialName("petalBack", id);
    writeNodeMaterial(out, front, *this, textureFront);
    if (!out.singleSurfaces)
        writeNodeMaterial(out, back, *this, textureBack);
    return shape_.writeObj(out, matrix, vertexCount, id, front, back);
}

void FlowerPetalNode::save(TextWriter& out, const WriteContext& context) const {
    writeAppearance(out, kHeading, *this, context);
    out.format("controlPoints %d %d \n", net_.rowCount(), net_.columnCount());
    for (int r = 0; r < net_.rowCount(); ++r)
        for (int k = 0; k < net_.columnCount(); ++k) {
            const Vector3 p = net_.pointAt(r, k);
            out.format("%d %d %f %f %f\n", r, k, p.x, p.y, p.z);
        }
    // No line ends: the resolutions run into whatever follows.
    out.format("m_resVert %d", m_resVert);
    out.format("m_resHori %d", m_resHori);
}

void FlowerPetalNode::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 3 || net_.empty())
        return;
    const double oldLength = mainAxis.length();
    mainAxis.points = stroke.points;
    mainAxis.resampleInPlace(net_.rowCount() - 1);
    // A petal whose axis has no length has no size to carry over: it only moves.
    if (oldLength > 0.0)
        scaleAboutBase(mainAxis.length() / oldLength);
    for (int k = 0; k < net_.rowCount() && k < mainAxis.size(); ++k) {
        const Vector3 shift = mainAxis.points[static_cast<size_t>(k)] - net_.midribPoint(k);
        for (int column = 0; column < net_.columnCount(); ++column)
            net_.setPointAt(k, column, net_.pointAt(k, column) + shift);
    }
    rebuildShape();
}

void FlowerPetalNode::scale(double factor) {
    scaleAboutBase(factor);
    rebuildShape();
}

void FlowerPetalNode::scaleAboutBase(double factor) {
    const Vector3 base = net_.pointAt(0, 0);
    for (int r = 0; r < net_.rowCount(); ++r)
        for (int k = 0; k < net_.columnCount(); ++k)
            net_.setPointAt(r, k, base + (net_.pointAt(r, k) - base) * factor);
}

std::unique_ptr<FlowerObjectNode> FlowerPetalNode::clone(IdCounter& ids) const {
    auto copy = std::make_unique<FlowerPetalNode>(ids.nextId());
    copy->copyMaterialAndTextureFrom(*this);
    copy->net_ = net_;
    copy->shape_.copyFrom(shape_);
    copy->m_resHori = m_resHori;
    copy->m_resVert = m_resVert;
    copy->copyStrokesFrom(*this);
    copy->syncAxis();
    return copy;
}

void FlowerPetalNode::editByPick(int row, int column, const Vector3& point, const Parameters&) {
    if (row == 0 || !net_.contains(row, column))
        return;
    net_.dragPoint(row, column, point);
    // Dragging the tip scales the whole net, which changes the shape's extent.
    if (row == net_.tipRow())
        rebuildShape();
    else
        refreshShape();
    syncAxis();
}

void FlowerPetalNode::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool) const {
    boxAroundOrigin(net_.points().cells(), matrix, min, max);
}

void FlowerPetalNode::refreshShape() {
    shape_.sample(net_);
}

void FlowerPetalNode::rebuildShape() {
    shape_.rebuild(net_, m_resVert, m_resHori);
    mainAxis.clear();
    syncAxis();
}

void FlowerPetalNode::syncAxis() {
    mainAxis.points.resize(static_cast<size_t>(net_.rowCount()));
    for (int k = 0; k < net_.rowCount(); ++k)
        mainAxis.points[static_cast<size_t>(k)] = net_.midribPoint(k);
}

std::unique_ptr<FlowerObjectNode> readPetal(RecordInput& input) {
    TextReader& in = input.in;
    auto petal = std::make_unique<FlowerPetalNode>(input.context.ids.nextId());
    int rows = 0, columns = 0;
    if (!readAppearance(input, kHeading, *petal) || !readLabelled(in, rows) || !in.integer(columns))
        return nullptr;
    if (rows <= 0 || columns <= 0 || columns % 2 == 0) {
        in.fail("a petal's control net needs rows and an odd number of columns");
        return nullptr;
    }
    if (!in.plausibleCount(static_cast<long long>(rows) * columns, kMinControlPointBytes))
        return nullptr;
    // The row and column numbers of the point lines are not read back: the points
    // fill the net row by row.
    Grid points(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < columns; ++k) {
            int row = 0, column = 0;
            Vector3& p = points.at(r, k);
            if (!in.integer(row) || !in.integer(column) || !in.real(p.x) || !in.real(p.y) ||
                !in.real(p.z))
                return nullptr;
        }
    if (!readLabelledResolution(in, petal->m_resVert) ||
        !readLabelledResolution(in, petal->m_resHori))
        return nullptr;
    petal->setControlPoints(PetalControlPointManager(std::move(points)));
    petal->rebuildShape();
    return petal;
}
