#include "interaction/OpenGL.h"

#include "gl/Background.h"
#include "gl/GroundShadows.h"
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

// The background, the floor and an object's shadow are drawn before the object, so
// whatever state they change must come back: the object would otherwise draw
// unlit, blended or without depth.
TEST_F(FloorAndLights, AShadowDarkensTheFloorUnderItsObjectAndTheGroundLeavesTheStateAlone) {
    lookDown();
    TOGL& gl = togl();
    gl.beginFrame();
    glEnable(GL_LIGHTING);
    glLineWidth(3.0f);
    const DrawContext draw = frame();
    drawBackground(draw);
    // An object half a unit across standing between the grid's lines.
    const LocalBox box{{-0.25, 0.0, -0.25}, {0.25, 1.0, 0.25}};
    drawGround(draw, {shadowUnder(box, Matrix4::translation({1.125, 0.0, 0.625}))});
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 3.0f);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    glLineWidth(1.0f);
    gl.endFrame();

    // Under the object against the same place mirrored across the floor's middle,
    // on the same row of the view and as far from the grid's lines.
    const QImage image = gl.frameImage();
    const QPoint under = pixelOf(1.125, 0.625);
    const QPoint mirrored = pixelOf(-1.125, 0.625);
    ASSERT_EQ(under.y(), mirrored.y());
    EXPECT_LT(qGray(image.pixel(under)), qGray(image.pixel(mirrored)) - 50);
    // Between its lines and away from the shadow, the floor shows the background of
    // its row as it is beside the floor.
    EXPECT_EQ(image.pixel(mirrored), image.pixel(2, mirrored.y()));
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
