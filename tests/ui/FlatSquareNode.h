#pragma once

#include "interaction/OpenGL.h"
#include "model/AxisNode.h"

// A plant object that draws a flat red square of side 0.4 centred on (0, 0.8, 0),
// facing the home camera of the main view; in the pick snapshot it draws its pick
// colour.
class FlatSquareNode final : public AxisNode {
public:
    explicit FlatSquareNode(int nodeId) : AxisNode(nodeId, kKindPetal) {}
    void drawSolid(const DrawContext& draw) override {
        if (draw.snapshot)
            beginPickingPass(draw);
        else {
            glDisable(GL_LIGHTING);
            glDisable(GL_BLEND);
            glColor3d(1.0, 0.0, 0.0);
        }
        glDisable(GL_CULL_FACE);
        glBegin(GL_QUADS);
        glVertex3d(-0.2, 0.6, 0.0);
        glVertex3d(0.2, 0.6, 0.0);
        glVertex3d(0.2, 1.0, 0.0);
        glVertex3d(-0.2, 1.0, 0.0);
        glEnd();
        glEnable(GL_CULL_FACE);
    }
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& m, bool) const override {
        min = max = Vector3();
        for (const Vector3& corner : {Vector3(-0.2, 0.6, 0.0), Vector3(0.2, 1.0, 0.0)})
            widenBox(min, max, transformPoint(m, corner));
    }
};
