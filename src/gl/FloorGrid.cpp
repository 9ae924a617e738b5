#include "gl/FloorGrid.h"

#include "interaction/OpenGL.h"
#include "math/Matrix4.h"
#include "model/DrawContext.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHalfSize = 2.5;
constexpr double kSpacing = 0.25;
constexpr float kLineColour[3] = {0.24f, 0.27f, 0.31f};
// Lines between the whole units are lighter than those on them.
constexpr double kMinorAlpha = 0.28;
constexpr double kMajorAlpha = 0.5;
// The share of the half-size out to which the grid shows in full; beyond it the
// lines fade to nothing at the rim.
constexpr double kFullOut = 0.45;

double smoothStep(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// How much of a line shows at floor point (x, z): full near the middle and nearer
// the eye than the floor's middle is, fading towards the rim and with the square
// of the distance beyond that.
double fadeAt(double x, double z, const Vector3& eye, double middleDistance) {
    const double out = std::hypot(x, z) / kHalfSize;
    const double rim = smoothStep((1.0 - out) / (1.0 - kFullOut));
    const double d = distance(eye, Vector3(x, 0.0, z));
    const double near = d <= middleDistance ? 1.0 : middleDistance / d;
    return rim * near * near;
}

// The eye in world coordinates, from a model-view matrix that holds only the
// camera (a rotation and a translation): minus the translation turned back.
Vector3 eyeOf(const Matrix4& modelView) {
    const Vector3 t = modelView.translationPart();
    return -modelView.transposed().rotateVector(t);
}

} // namespace

void drawFloorGrid(const DrawContext& draw) {
    if (draw.snapshot)
        return;
    Matrix4 modelView;
    glGetDoublev(GL_MODELVIEW_MATRIX, &modelView[0]);
    const Vector3 eye = eyeOf(modelView);
    const double middleDistance = std::max(eye.length(), 1e-6);

    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_LINE_BIT | GL_CURRENT_BIT |
                 GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glLineWidth(1.0f);
    const int cells = static_cast<int>(std::lround(2.0 * kHalfSize / kSpacing));
    // Lines parallel to z, then lines parallel to x, at the same offsets; each in
    // cell-long pieces so that its fade follows the floor.
    for (int across = 0; across < 2; ++across)
        for (int i = 1; i < cells; ++i) {
            const double offset = -kHalfSize + i * kSpacing;
            const bool wholeUnit = std::abs(offset - std::round(offset)) < 1e-9;
            const double alpha = wholeUnit ? kMajorAlpha : kMinorAlpha;
            glBegin(GL_LINE_STRIP);
            for (int j = 0; j <= cells; ++j) {
                const double along = -kHalfSize + j * kSpacing;
                const double x = across == 0 ? offset : along;
                const double z = across == 0 ? along : offset;
                glColor4f(kLineColour[0], kLineColour[1], kLineColour[2],
                          static_cast<float>(alpha * fadeAt(x, z, eye, middleDistance)));
                glVertex3d(x, 0.0, z);
            }
            glEnd();
        }
    glPopAttrib();
}
