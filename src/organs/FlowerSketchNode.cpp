#include "organs/FlowerSketchNode.h"

#include "interaction/OpenGL.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganRecords.h"
#include "organs/OrganShaping.h"

#include <array>

#include <algorithm>

namespace {

// "stroke 0\n": the shortest text a stroke block can have.
constexpr size_t kMinStrokeBytes = 9;

} // namespace

FlowerSketchNode::FlowerSketchNode(int nodeId, int sketchType)
    : FlowerObjectNode(nodeId, kKindSketch), SketchType(sketchType) {}

void FlowerSketchNode::widenRectangle(const Stroke& stroke) {
    for (const Vector3& p : stroke.points) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
}

void FlowerSketchNode::recomputeRectangle() {
    minX = minY = maxX = maxY = 0.0;
    for (const auto& stroke : strokes)
        widenRectangle(*stroke);
}

void FlowerSketchNode::addStroke(const Stroke& stroke) {
    if (static_cast<int>(strokes.size()) >= kMaxStrokes)
        return;
    auto copy = std::make_unique<Stroke>(stroke);
    copy->resampleInPlace(30);
    widenRectangle(*copy);
    strokes.push_back(std::move(copy));
    if (mainAxis.empty())
        mainAxis = stroke;
}

void FlowerSketchNode::removeStroke(int index) {
    if (index < 0 || index >= static_cast<int>(strokes.size()))
        return;
    strokes.erase(strokes.begin() + index);
    recomputeRectangle();
}

Rgba FlowerSketchNode::strokeColour() const {
    return strokes.empty() ? Rgba{1.0f, 1.0f, 0.0f, 0.5f} : strokes.front()->color;
}

// --- Drawing

void FlowerSketchNode::drawSketchStrokes(const DrawContext& draw) const {
    if (draw.snapshot) {
        // Each stroke in its own pick colour, so that a single stroke can be picked.
        for (size_t i = 0; i < strokes.size(); ++i) {
            const PickColour c = pickColour(draw, static_cast<int>(i), 0, false, true);
            strokes[i]->drawForPick(c.red, c.green, c.blue, 3.0f);
        }
        return;
    }
    glPushMatrix();
    for (const auto& stroke : strokes)
        stroke->drawColored(3.0f);
    glPopMatrix();
}

void FlowerSketchNode::drawBillboard(const DrawContext& draw) const {
    if (strokes.empty())
        return;
    const bool picking = draw.snapshot;
    if (picking) {
        beginPickingPass(draw);
    } else {
        glEnable(GL_BLEND);
        glShadeModel(GL_FLAT);
        glDisable(GL_LIGHTING);
        glDepthMask(GL_FALSE);
        glNormal3d(0.0, 0.0, 1.0);
        if (SketchType == kBranch)
            glColor4d(0.0, 0.95, 0.0, 0.2);
        else if (SketchType == kLeafOrPetal)
            glColor4d(0.6, 0.6, 0.4, 0.2);
        else
            glColor4d(0.8, 0.2, 0.0, 0.2);
    }
    // A billboard is a card: it shows (and is picked) from behind as from the front.
    const bool culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUADS);
    glVertex3d(minX, minY, 0.0);
    glVertex3d(maxX, minY, 0.0);
    glVertex3d(maxX, maxY, 0.0);
    glVertex3d(minX, maxY, 0.0);
    glEnd();
    if (culling)
        glEnable(GL_CULL_FACE);
    if (!picking) {
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }
}

void FlowerSketchNode::drawWireframe(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    drawAxisSegments(mainAxis.points, 4.0f, kAxisColour);
    if (draw.display.showBillboard)
        drawBillboard(draw);
}

void FlowerSketchNode::drawSolid(const DrawContext& draw) {
    if (draw.display.showSketch)
        drawSketchStrokes(draw);
    if (draw.display.showBillboard)
        drawBillboard(draw);
}

void FlowerSketchNode::drawTranslucent(const DrawContext& draw) {
    if (!draw.display.showSketch || draw.snapshot)
        return;
    glPushMatrix();
    for (const auto& stroke : strokes)
        stroke->drawTranslucent(3.0f);
    glPopMatrix();
}

// --- Edits

void FlowerSketchNode::reshapeByStroke(const Stroke& stroke) {
    mainAxis = stroke;
    if (strokes.empty())
        return;
    auto replacement = std::make_unique<Stroke>(stroke);
    replacement->color = strokes.front()->color;
    strokes.front() = std::move(replacement);
}

void FlowerSketchNode::scale(double factor) {
    for (auto& stroke : strokes)
        stroke->scale(factor);
    mainAxis.scale(factor);
}

std::unique_ptr<FlowerObjectNode> FlowerSketchNode::clone(IdCounter& ids) const {
    auto copy = std::make_unique<FlowerSketchNode>(ids.nextId(), SketchType);
    copy->mainAxis = mainAxis;
    copy->minX = minX;
    copy->minY = minY;
    copy->maxX = maxX;
    copy->maxY = maxY;
    copy->copyStrokesFrom(*this);
    return copy;
}

void FlowerSketchNode::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool) const {
    // Every corner of the thin box around the rectangle: under a rotation the two
    // extreme corners alone would not bound it.
    std::array<Vector3, 8> corners;
    size_t i = 0;
    for (const double x : {minX, maxX})
        for (const double y : {minY, maxY})
            for (const double z : {-0.01, 0.01})
                corners[i++] = {x, y, z};
    boxAroundOrigin(corners, matrix, min, max);
}

// --- Record

void FlowerSketchNode::save(TextWriter& out, const WriteContext&) const {
    const Rgba c = strokes.empty() ? Rgba{1.0f, 1.0f, 0.0f, 0.3f} : strokes.front()->color;
    out.format("color %f %f %f %f\n", c.r, c.g, c.b, c.a);
    writePointList(out, "mainAxis", mainAxis.points);
    out.format("strokes %d\n", static_cast<int>(strokes.size()));
    for (const auto& stroke : strokes) {
        writePointList(out, "stroke", stroke->points);
        out.text("\n");
    }
    out.format("SketchType %d\n\n", SketchType);
}

std::unique_ptr<FlowerObjectNode> readSketch(RecordInput& input) {
    TextReader& in = input.in;
    auto sketch =
        std::make_unique<FlowerSketchNode>(input.context.ids.nextId(), FlowerSketchNode::kBranch);
    Rgba colour;
    int count = 0;
    if (!skipWords(in, 1) || !in.real(colour.r) || !in.real(colour.g) || !in.real(colour.b) ||
        !in.real(colour.a) || !readPointList(in, sketch->mainAxis.points) ||
        !readLabelled(in, count) || !in.plausibleCount(count, kMinStrokeBytes))
        return nullptr;
    for (int i = 0; i < count; ++i) {
        auto stroke = std::make_unique<Stroke>();
        if (!readPointList(in, stroke->points))
            return nullptr;
        stroke->color = colour;
        // A sketch holds at most 30 strokes: any beyond are read past and dropped.
        if (i < FlowerSketchNode::kMaxStrokes)
            sketch->strokes.push_back(std::move(stroke));
    }
    if (!readLabelled(in, sketch->SketchType))
        return nullptr;
    // The file does not keep the rectangle; it is the one the strokes span.
    sketch->recomputeRectangle();
    return sketch;
}
