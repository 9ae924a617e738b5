#include "organs/TubeOrganNode.h"

#include "interaction/OpenGL.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganExport.h"

void TubeOrganNode::drawSolid(const DrawContext& draw) {
    if (draw.snapshot) {
        beginPickingPass(draw);
        tube.drawPlain();
        return;
    }
    drawStrokes(draw);
    glPushMatrix();
    drawTubeSurface(draw, tube, hasTexture, textureFront, diffuse, shininess, specular, ambient);
    glPopMatrix();
}

std::uint64_t TubeOrganNode::geometryKey(const DrawContext&) const {
    return tube.contentKey();
}

void TubeOrganNode::drawPlain(const DrawContext&) {
    glPushMatrix();
    tube.drawPlain();
    glPopMatrix();
}

void TubeOrganNode::drawTranslucent(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    tube.drawTranslucent(diffuse, shininess, specular, ambient);
}

int TubeOrganNode::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    return exportTube(out, matrix, vertexCount, tube, "pistil", *this);
}

void TubeOrganNode::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool) const {
    tube.boundingBox(matrix, min, max);
}
