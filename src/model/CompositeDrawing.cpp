// The draw passes of a composite, its candidate highlight and its OBJ export.
#include "model/FlowerObjectComposite.h"

#include "interaction/OpenGL.h"
#include "math/ContentHash.h"
#include "math/Diagnostics.h"
#include "model/DrawDetail.h"

namespace {

// Draws every branch, then every segment, each under its placement.
template <typename Draw> void drawParts(const FlowerObjectComposite& composite, Draw draw) {
    for (const FlowerObjectComposite::Branch& branch : composite.branches) {
        glPushMatrix();
        glMultMatrixd(branch.attachment.data());
        glMultMatrixd(branch.turn.data());
        draw(*branch.composite);
        glPopMatrix();
    }
    for (const FlowerObjectComposite::Segment& segment : composite.segments) {
        glPushMatrix();
        glMultMatrixd(segment.placement.data());
        draw(*segment.node);
        glPopMatrix();
    }
}

} // namespace

std::uint64_t FlowerObjectComposite::geometryKey(const DrawContext& draw) const {
    ContentHash hash;
    for (const Branch& branch : branches) {
        const std::uint64_t part = branch.composite->drawingKey(draw);
        if (part == 0)
            return 0;
        hash.add(part).add(branch.attachment).add(branch.turn);
    }
    for (const Segment& segment : segments) {
        const std::uint64_t part = segment.node->drawingKey(draw);
        if (part == 0)
            return 0;
        hash.add(part).add(segment.placement);
    }
    return hash.value();
}

void FlowerObjectComposite::drawWireframe(const DrawContext& draw) {
    drawParts(*this, [&](FlowerObjectNode& n) { n.drawWireframe(draw); });
    if (draw.snapshot)
        return;
    Stroke axis = mainAxis;
    axis.color = {0.0f, 0.0f, 1.0f, 0.5f};
    axis.drawColored(3.0f);
}

void FlowerObjectComposite::drawSolid(const DrawContext& draw) {
    drawParts(*this, [&](FlowerObjectNode& n) { drawSolidAtDetail(n, draw); });
}

void FlowerObjectComposite::drawPlain(const DrawContext& draw) {
    drawParts(*this, [&](FlowerObjectNode& n) { n.drawPlain(draw); });
}

void FlowerObjectComposite::drawTranslucent(const DrawContext& draw) {
    drawParts(*this, [&](FlowerObjectNode& n) { drawTranslucentInView(n, draw); });
}

void FlowerObjectComposite::drawOverlay(const DrawContext& draw) {
    if (draw.snapshot || mainAxis.size() < 2)
        return;
    const double h = distance(mainAxis.back(), mainAxis.front()) / 20.0;
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
    glColor3d(0.0, 0.0, 1.0);
    glBegin(GL_LINE_LOOP);
    glVertex3d(h, 0.0, h);
    glVertex3d(h, 0.0, -h);
    glVertex3d(-h, 0.0, -h);
    glVertex3d(-h, 0.0, h);
    glEnd();
}

void FlowerObjectComposite::drawHighlightBox(const DrawContext& draw) const {
    if (draw.snapshot)
        return;
    Vector3 lo, hi;
    boundingBox(lo, hi, Matrix4(), true);
    const Vector3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                          {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                          {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    static constexpr int kEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                          {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    static constexpr int kFaces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                         {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 2, 6, 5}};
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glLineWidth(2.0f);
    glColor3d(1.0, 1.0, 0.0);
    glBegin(GL_LINES);
    for (const auto& e : kEdges) {
        glVertex3d(c[e[0]].x, c[e[0]].y, c[e[0]].z);
        glVertex3d(c[e[1]].x, c[e[1]].y, c[e[1]].z);
    }
    glEnd();
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glColor4d(0.0, 0.5, 0.0, 0.2);
    glBegin(GL_QUADS);
    for (const auto& f : kFaces)
        for (int k : f)
            glVertex3d(c[k].x, c[k].y, c[k].z);
    glEnd();
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glPopMatrix();
}

int FlowerObjectComposite::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    forEachPlacedChild(*this, [&](FlowerObjectNode& child, const Matrix4& placement, bool segment) {
        if (segment)
            diagnostic("OBJ export of a segment: %d segments, %d branches",
                       static_cast<int>(segments.size()), static_cast<int>(branches.size()));
        vertexCount = child.exportObj(out, matrix * placement, vertexCount);
    });
    return vertexCount;
}
