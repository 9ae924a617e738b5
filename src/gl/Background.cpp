#include "gl/Background.h"

#include "interaction/OpenGL.h"
#include "model/DrawContext.h"

#include <algorithm>

namespace {

constexpr Rgba kTop{0.72f, 0.77f, 0.84f, 1.0f};
constexpr Rgba kBottom{0.94f, 0.94f, 0.92f, 1.0f};

float mix(float bottom, float top, double height) {
    return static_cast<float>(bottom + (top - bottom) * height);
}

} // namespace

Rgba backgroundColour(double height) {
    const double h = std::clamp(height, 0.0, 1.0);
    return {mix(kBottom.r, kTop.r, h), mix(kBottom.g, kTop.g, h), mix(kBottom.b, kTop.b, h), 1.0f};
}

void drawBackground(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    // The viewport's corners in clip coordinates, whatever the camera.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glColor4fv(kBottom.data());
    glVertex2d(-1.0, -1.0);
    glVertex2d(1.0, -1.0);
    glColor4fv(kTop.data());
    glVertex2d(1.0, 1.0);
    glVertex2d(-1.0, 1.0);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
