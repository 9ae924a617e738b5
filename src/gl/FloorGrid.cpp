#include "gl/FloorGrid.h"

#include "interaction/OpenGL.h"
#include "model/DrawContext.h"

namespace {

constexpr double kHalfSize = 2.5;
constexpr double kSpacing = 0.25;

} // namespace

void drawFloorGrid(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    glPushAttrib(GL_LIGHTING_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
    glLineWidth(2.0f);
    glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
    glBegin(GL_LINES);
    // Lines parallel to z, then lines parallel to x, at the same offsets.
    for (int i = 1; - kHalfSize + i * kSpacing < kHalfSize; ++i) {
        const double x = -kHalfSize + i * kSpacing;
        glVertex3d(x, 0.0, kHalfSize);
        glVertex3d(x, 0.0, -kHalfSize);
    }
    for (int i = 1; - kHalfSize + i * kSpacing < kHalfSize; ++i) {
        const double z = -kHalfSize + i * kSpacing;
        glVertex3d(kHalfSize, 0.0, z);
        glVertex3d(-kHalfSize, 0.0, z);
    }
    glEnd();

    glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
    glLineWidth(2.0f);
    const double corners[4][2] = {{-kHalfSize, -kHalfSize},
                                  {-kHalfSize, kHalfSize},
                                  {kHalfSize, kHalfSize},
                                  {kHalfSize, -kHalfSize}};
    glBegin(GL_LINES);
    for (int i = 0; i < 4; ++i) {
        const double* from = corners[i];
        const double* to = corners[(i + 1) % 4];
        glVertex3d(from[0], 0.0, from[1]);
        glVertex3d(to[0], 0.0, to[1]);
    }
    glEnd();
    glPopAttrib();
}
