#include "modes/composite/DrawingBoard.h"

#include "interaction/OpenGL.h"
#include "interaction/RenderState.h"
#include "interaction/Stroke.h"
#include "interaction/StrokeGeometry.h"

#include <algorithm>

namespace {

constexpr double kCrossLength = 0.2;

void vertex(const Vector3& p) {
    glVertex3d(p.x, p.y, p.z);
}

} // namespace

void drawDrawingBoard(const Stroke& stroke, const Vector3& planePoint, const Vector3& normal) {
    if (renderState().snapshot || stroke.empty())
        return;
    // The board's frame: z along the normal, placed at the plane point.
    const Matrix4 frame = rotationBetween(Vector3(0.0, 0.0, 1.0), normal).matrix;
    const Vector3 xAxis = frame.rotateVector({1.0, 0.0, 0.0});
    const Vector3 yAxis = frame.rotateVector({0.0, 1.0, 0.0});
    const Vector3 zAxis = frame.rotateVector({0.0, 0.0, 1.0});
    double left = 0.0, right = 0.0, bottom = 0.0, top = 0.0;
    for (const Vector3& p : stroke.points) {
        const Vector3 d = p - planePoint;
        left = std::min(left, dot(d, xAxis));
        right = std::max(right, dot(d, xAxis));
        bottom = std::min(bottom, dot(d, yAxis));
        top = std::max(top, dot(d, yAxis));
    }
    const auto corner = [&](double x, double y) { return planePoint + xAxis * x + yAxis * y; };

    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glColor4d(0.5, 0.5, 0.0, 0.5);
    glBegin(GL_QUADS);
    vertex(corner(left, bottom));
    vertex(corner(right, bottom));
    vertex(corner(right, top));
    vertex(corner(left, top));
    glEnd();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    if (culling)
        glEnable(GL_CULL_FACE);

    glLineWidth(2.0f);
    glBegin(GL_LINES);
    const Vector3 axes[] = {xAxis, yAxis, zAxis};
    for (int i = 0; i < 3; ++i) {
        glColor3d(i == 0, i == 1, i == 2);
        vertex(planePoint);
        vertex(planePoint + axes[i] * kCrossLength);
    }
    glEnd();
}
