#include "organs/TubeOrganNode.h"

#include "interaction/OpenGL.h"
#include "interaction/RenderState.h"
#include "model/ModelContext.h"
#include "organs/OrganDrawing.h"
#include "organs/OrganExport.h"

void TubeOrganNode::drawSolid() {
    if (renderState().snapshot) {
        beginPickingPass();
        tube.drawPlain();
        return;
    }
    if (displaySwitches().drawStrokes)
        drawStrokes();
    glPushMatrix();
    drawTubeSurface(tube, hasTexture, textureFront, diffuse, shininess, specular, ambient);
    glPopMatrix();
}

void TubeOrganNode::drawPlain() {
    glPushMatrix();
    tube.drawPlain();
    glPopMatrix();
}

void TubeOrganNode::drawTranslucent() {
    if (renderState().snapshot)
        return;
    tube.drawTranslucent(diffuse, shininess, specular, ambient);
}

int TubeOrganNode::exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) {
    return exportTube(out, matrix, vertexCount, tube, "pistil", *this);
}

void TubeOrganNode::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool) const {
    tube.boundingBox(matrix, min, max);
}
