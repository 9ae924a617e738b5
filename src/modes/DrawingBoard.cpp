#include "modes/DrawingBoard.h"

#include "interaction/OpenGL.h"
#include "interaction/StrokeGeometry.h"

void drawTranslucentRectangle(double left, double bottom, double right, double top,
                              const Rgba& colour) {
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glColor4fv(colour.data());
    glBegin(GL_QUADS);
    glVertex3d(left, bottom, 0.0);
    glVertex3d(right, bottom, 0.0);
    glVertex3d(right, top, 0.0);
    glVertex3d(left, top, 0.0);
    glEnd();
    // Opaque, culled drawing with depth writes is what every other pass expects.
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
}

void drawDrawingBoard(const Vector3& planePoint, const Vector3& normal, const PointList& points,
                      const Rgba& colour) {
    if (points.empty())
        return;
    Matrix4 frame = rotationBetween({0.0, 0.0, 1.0}, normal).matrix;
    frame.setTranslation(planePoint);
    const Matrix4 toBoard = inverted(frame);
    Vector3 low = transformPoint(toBoard, points.front());
    Vector3 high = low;
    for (const Vector3& p : points)
        widenBox(low, high, transformPoint(toBoard, p));
    glPushMatrix();
    glMultMatrixd(frame.data());
    drawTranslucentRectangle(low.x, low.y, high.x, high.y, colour);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3d(0.0, 0.0, 0.0);
    glVertex3d(0.2, 0.0, 0.0);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3d(0.0, 0.0, 0.0);
    glVertex3d(0.0, 0.2, 0.0);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3d(0.0, 0.0, 0.0);
    glVertex3d(0.0, 0.0, 0.2);
    glEnd();
    glPopMatrix();
}
