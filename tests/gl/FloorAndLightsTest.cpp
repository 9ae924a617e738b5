#include "interaction/OpenGL.h"

#include "gl/FloorGrid.h"
#include "interaction/FrameLights.h"
#include "support/GlTestContext.h"

#include <array>

namespace {

class FloorAndLights : public GlTest {
protected:
    FloorAndLights() : GlTest(200, 200) {}

    // Looking straight down at the floor from 8 units: its 5 units fill
    // 2.5 / (8 tan 22.5) = 75% of the view, a line every 7.5 pixels.
    void lookDown() { togl().setCamera({0, 8, 0}, {0, 0, 0}, {0, 0, -1}); }

    // The window pixel where world point (x, 0, z) of the floor appears.
    QPoint pixelOf(double x, double z) {
        const ViewTransform& view = togl().viewTransform();
        const Vector3 eye = transformPoint(view.modelView, {x, 0, z});
        const Matrix4& p = view.projection;
        const double w = -eye.z;
        const double ndcX = (p.at(0, 0) * eye.x) / w;
        const double ndcY = (p.at(1, 1) * eye.y) / w;
        return {static_cast<int>((ndcX + 1) / 2 * 200), static_cast<int>((1 - ndcY) / 2 * 200)};
    }
};

} // namespace

TEST_F(FloorAndLights, FloorGridIsGreyWithABlackBorderAndLeavesTheStateAlone) {
    lookDown();
    TOGL& gl = togl();
    gl.beginFrame();
    glEnable(GL_LIGHTING);
    glLineWidth(1.0f);
    drawFloorGrid(frame());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1.0f);
    glDisable(GL_LIGHTING);
    gl.endFrame();
    const QImage image = gl.frameImage();

    const QRgb grey = qRgb(128, 128, 128);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    // The line x = 0 runs down the middle column pair, z = 1 across.
    const QPoint onLine = pixelOf(0.0, 0.6);
    EXPECT_EQ(image.pixel(onLine.x(), onLine.y()), grey);
    EXPECT_EQ(image.pixel(onLine.x() - 1, onLine.y()), grey);
    const QPoint acrossLine = pixelOf(0.6, 1.0);
    EXPECT_EQ(image.pixel(acrossLine.x(), acrossLine.y()), grey);
    // Between lines the background shows.
    const QPoint between = pixelOf(0.125, 0.125);
    EXPECT_EQ(image.pixel(between.x(), between.y()), white);
    // The border at x = 2.5 is black; outside the floor is background.
    const QPoint border = pixelOf(2.5, 0.6);
    EXPECT_EQ(image.pixel(border.x() - 1, border.y()), black);
    const QPoint outside = pixelOf(2.7, 0.6);
    EXPECT_EQ(image.pixel(outside.x(), outside.y()), white);

    // Nineteen grey lines cross the middle row: count the runs of grey.
    int runs = 0;
    for (int x = 1; x < 200; ++x)
        if (image.pixel(x, pixelOf(0, 0.125).y()) == grey &&
            image.pixel(x - 1, pixelOf(0, 0.125).y()) != grey)
            ++runs;
    EXPECT_EQ(runs, 19);
}

TEST_F(FloorAndLights, FrameLightsAreFixedInWorldCoordinates) {
    TOGL& gl = togl();
    gl.setCamera({1, 2, 3}, {0, 0, 0}, {0, 1, 0});
    gl.beginFrame();
    placeFrameLights();
    const std::array<Vector3, 3> world = {Vector3(10, 10, -60), Vector3(-10, 10, 60),
                                          Vector3(10, -60, 30)};
    const GLenum lights[3] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2};
    for (int i = 0; i < 3; ++i) {
        // GL keeps light positions in eye coordinates.
        GLfloat stored[4];
        glGetLightfv(lights[i], GL_POSITION, stored);
        const Vector3 expected = transformPoint(gl.camera().viewMatrix(), world[i]);
        EXPECT_NEAR(stored[0], expected.x, 1e-3);
        EXPECT_NEAR(stored[1], expected.y, 1e-3);
        EXPECT_NEAR(stored[2], expected.z, 1e-3);
        EXPECT_EQ(stored[3], 1.0f);
    }
    gl.endFrame();
}

TEST_F(FloorAndLights, DefaultLightAndMaterialShadeAFacingSurface) {
    // A white-lit grey material facing the camera and light 0: ambient 0.2 x 0.3 plus
    // the scene ambient 0.2 x 0.3 plus diffuse up to 1 x 0.5, lit but not saturated.
    TOGL& gl = togl();
    gl.setCamera({0, 0, 5}, {0, 0, 0}, {0, 1, 0});
    gl.beginFrame();
    const GLfloat front[] = {0.0f, 0.0f, 100.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, front);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glNormal3d(0, 0, 1);
    glRectd(-1, -1, 1, 1);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    gl.endFrame();
    const QRgb centre = gl.frameImage().pixel(100, 100);
    // Red and green alike; blue a little higher from the bluish specular term.
    EXPECT_EQ(qRed(centre), qGreen(centre));
    EXPECT_NEAR(qRed(centre), 255 * (0.06 + 0.06 + 0.5), 3);
    EXPECT_GE(qBlue(centre), qRed(centre));
}
