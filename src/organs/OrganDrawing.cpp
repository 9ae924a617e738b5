#include "organs/OrganDrawing.h"

#include "interaction/OpenGL.h"
#include "interaction/Stroke.h"
#include "model/FlowerObjectNode.h"
#include "organs/StemShape.h"

const Rgba kAxisColour{1.0f, 0.0f, 0.0f, 0.5f};

void drawAxisSegments(const PointList& points, float width, const Rgba& colour) {
    Stroke axis(points);
    axis.color = colour;
    axis.drawColored(width);
}

namespace {

// 31 marks an unused part index; larger ones do not fit its five bits.
bool pickablePart(int index) {
    return index >= 0 && index <= 30;
}

} // namespace

void drawControlPoint(const DrawContext& draw, const FlowerObjectNode& node, const Vector3& p, float size, int partA,
                      int partB, const Rgba& colour) {
    const bool snapshot = draw.snapshot;
    if (snapshot && (!pickablePart(partA) || !pickablePart(partB)))
        return;
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
    glPointSize(size);
    if (snapshot) {
        glDisable(GL_BLEND);
        const PickColour c = node.pickColour(draw, partA, partB, true);
        glColor3ub(c.red, c.green, c.blue);
    } else {
        glColor3f(colour.r, colour.g, colour.b);
    }
    glBegin(GL_POINTS);
    glVertex3d(p.x, p.y, p.z);
    glEnd();
}

void drawTubeSurface(const DrawContext& draw, const StemShape& tube, bool hasTexture, int& textureId,
                     const Rgba& diffuse, float shininess, const Rgba& specular, const Rgba& ambient) {
    const bool textured = hasTexture && FlowerObjectNode::textureKnown(draw.textures, textureId);
    if (hasTexture && !textured)
        textureId = -1;
    if (textured)
        tube.drawTextured(*draw.textures, textureId, draw.batches);
    else
        tube.drawShaded(diffuse, shininess, specular, ambient, draw.batches);
}
