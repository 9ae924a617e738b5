#include "interaction/OpenGL.h"

#include "support/GlTestContext.h"

#include <QGuiApplication>
#include <QThread>
#include <QWindow>

#include <array>
#include <cmath>

namespace {

std::array<GLdouble, 16> currentMatrix(GLenum which) {
    std::array<GLdouble, 16> m{};
    glGetDoublev(which, m.data());
    return m;
}

void expectMatrixNear(const std::array<GLdouble, 16>& gl, const Matrix4& ours, double tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(gl[i], ours[i], tolerance) << "element " << i;
}

std::array<GLfloat, 4> light(GLenum light, GLenum property) {
    std::array<GLfloat, 4> v{};
    glGetLightfv(light, property, v.data());
    return v;
}

std::array<GLfloat, 4> material(GLenum face, GLenum property) {
    std::array<GLfloat, 4> v{};
    glGetMaterialfv(face, property, v.data());
    return v;
}

using Quad = std::array<GLfloat, 4>;

// Fills the frame being drawn with one colour.
void fillWindow(float r, float g, float b) {
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

bool waitForExposure(QWindow& window) {
    for (int i = 0; i < 2000 && !window.isExposed(); ++i) {
        QGuiApplication::processEvents();
        QThread::msleep(5);
    }
    return window.isExposed();
}

} // namespace

using TOGLState = GlTest;

TEST_F(TOGLState, FixedStateIsSetInTheListedValues) {
    TOGL& gl = togl();
    gl.makeCurrent();
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ((Quad{clear[0], clear[1], clear[2], clear[3]}), (Quad{1.0f, 1.0f, 1.0f, 0.5f}));
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);

    for (GLenum face : {GL_FRONT, GL_BACK}) {
        EXPECT_EQ(material(face, GL_SPECULAR), (Quad{0.0f, 0.0f, 0.05f, 1.0f}));
        EXPECT_EQ(material(face, GL_DIFFUSE), (Quad{0.5f, 0.5f, 0.5f, 1.0f}));
        EXPECT_EQ(material(face, GL_AMBIENT), (Quad{0.3f, 0.3f, 0.3f, 1.0f}));
        GLfloat shininess = 0;
        glGetMaterialfv(face, GL_SHININESS, &shininess);
        EXPECT_EQ(shininess, 1.5f);
    }
    // Light 0 was placed while the model-view matrix was the identity.
    EXPECT_EQ(light(GL_LIGHT0, GL_POSITION), (Quad{1000.0f, 1000.0f, -50000.0f, 1.0f}));
    EXPECT_EQ(light(GL_LIGHT0, GL_AMBIENT), (Quad{0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_EQ(light(GL_LIGHT0, GL_DIFFUSE), (Quad{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(light(GL_LIGHT0, GL_SPECULAR), (Quad{0.2f, 0.2f, 0.2f, 1.0f}));
    for (GLenum l : {GL_LIGHT1, GL_LIGHT2}) {
        EXPECT_EQ(light(l, GL_AMBIENT), (Quad{0.0f, 0.0f, 0.0f, 1.0f}));
        EXPECT_EQ(light(l, GL_DIFFUSE), (Quad{0.5f, 0.5f, 0.5f, 1.0f}));
        EXPECT_EQ(light(l, GL_SPECULAR), (Quad{0.0f, 0.0f, 0.0f, 1.0f}));
    }
    // Lighting itself is left to each object's drawing.
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    GLint value = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 4);
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);

    EXPECT_EQ(gl.camera().eye, Vector3(0, 20, 50));
    EXPECT_EQ(gl.camera().center, Vector3(0, 20, 0));
    EXPECT_EQ(gl.camera().up, Vector3(0, 1, 0));
    gl.doneCurrent();
}

TEST_F(TOGLState, ResizeLoadsTheProjectionAndCameraAsTheUtilityLibraryWould) {
    TOGL& gl = togl();
    gl.doneCurrent();
    gl.setHomeCamera(kMainViewHomeCamera);
    gl.resetCamera();
    for (bool orthographic : {false, true}) {
        gl.resize(300, 200, orthographic);
        EXPECT_FALSE(GlContext::anyCurrent());
        gl.makeCurrent();
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 300);
        EXPECT_EQ(viewport[3], 200);
        const auto projection = currentMatrix(GL_PROJECTION_MATRIX);
        const auto modelView = currentMatrix(GL_MODELVIEW_MATRIX);

        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        if (orthographic)
            glOrtho(-15, 15, -10, 10, 0, 20);
        else
            gluPerspective(45.0, 300.0 / 200.0, 0.02, 300.0);
        const auto expectedProjection = currentMatrix(GL_PROJECTION_MATRIX);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        gluLookAt(0, 0.8, 2.41, 0, 0.8, 0, 0, 1, 0);
        const auto expectedModelView = currentMatrix(GL_MODELVIEW_MATRIX);
        glPopMatrix();
        gl.doneCurrent();

        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(projection[i], expectedProjection[i], 1e-6) << i;
            EXPECT_NEAR(modelView[i], expectedModelView[i], 1e-6) << i;
        }
        // GL keeps single precision.
        expectMatrixNear(projection, gl.viewTransform().projection, 1e-6);
        expectMatrixNear(modelView, gl.viewTransform().modelView, 1e-6);
    }
    EXPECT_EQ(gl.bufferWidth(), 300);
    EXPECT_EQ(gl.bufferHeight(), 200);
    EXPECT_EQ(gl.depthBuffer().size(), 300u * 200u);
}

TEST_F(TOGLState, ResizeToAnEmptyAreaIsIgnored) {
    TOGL& gl = togl();
    const ViewTransform before = gl.viewTransform();
    for (auto [w, h] : {std::pair{0, 100}, {100, 0}, {-5, 100}, {100, -1}}) {
        gl.resize(w, h, false);
        EXPECT_EQ(gl.bufferWidth(), context_.width());
        EXPECT_EQ(gl.bufferHeight(), context_.height());
        EXPECT_EQ(gl.viewTransform().viewport.width, before.viewport.width);
        EXPECT_EQ(gl.viewTransform().projection, before.projection);
    }
}

TEST_F(TOGLState, CameraLoadsKeepTheContextAsTheyFoundIt) {
    TOGL& gl = togl();
    gl.doneCurrent();
    gl.setCamera({0, 0, 4}, {0, 0, 0}, {0, 1, 0});
    EXPECT_FALSE(GlContext::anyCurrent());

    gl.beginFrame();
    EXPECT_TRUE(GlContext::anyCurrent());
    gl.orbit(0.3, 0.0);
    EXPECT_TRUE(GlContext::anyCurrent());
    expectMatrixNear(currentMatrix(GL_MODELVIEW_MATRIX), gl.camera().viewMatrix(), 1e-6);
    gl.endFrame();
    EXPECT_FALSE(GlContext::anyCurrent());
    EXPECT_FALSE(gl.inFrame());

    gl.resetCamera();
    EXPECT_EQ(gl.camera().eye, Vector3(0, 20, 50));
    EXPECT_EQ(gl.viewTransform().modelView, gl.camera().viewMatrix());
}

TEST_F(TOGLState, CameraDragsRunFromBeginToEnd) {
    TOGL& gl = togl();
    gl.setCamera({0, 0, 8}, {0, 0, 0}, {0, 1, 0});
    EXPECT_FALSE(gl.dragCamera(10, 10));
    gl.beginDrag(kDollyDrag, 0, 0);
    EXPECT_TRUE(gl.holdsMouseCapture());
    EXPECT_TRUE(gl.dragCamera(0, 8));
    const double dollied = 8.0 * std::exp2(-8.0 / kDollyHalvingPixels);
    EXPECT_NEAR(gl.camera().eye.z, dollied, 1e-12);
    EXPECT_EQ(gl.viewTransform().modelView, gl.camera().viewMatrix());
    gl.endDrag();
    EXPECT_FALSE(gl.holdsMouseCapture());
    EXPECT_FALSE(gl.dragCamera(0, 16));
    EXPECT_NEAR(gl.camera().eye.z, dollied, 1e-12);
}

TEST_F(TOGLState, ThumbnailColourOutsideTheBufferIsItsBackground) {
    TOGL& gl = togl();
    gl.beginThumbnail({0.2f, 0.4f, 1.0f, 1.0f});
    gl.endThumbnail();
    const std::uint32_t packed = 51u + 256u * 102u + 65536u * 255u;
    EXPECT_EQ(gl.thumbnailColour(-1, 0), packed);
    EXPECT_EQ(gl.thumbnailColour(0, context_.height()), packed);
    // Inside: the pixel itself, opaque.
    EXPECT_EQ(gl.thumbnailColour(3, 4) & 0xFFFFFFu, packed);
    EXPECT_EQ(gl.thumbnailColour(3, 4) >> 24, 255u);
}

// A thumbnail is a normal frame, drawn small in the view's shape, and leaves the
// pick copies of the last snapshot as they were.
TEST_F(TOGLState, ThumbnailsAreSmallNormalFramesThatLeaveThePicksAlone) {
    TOGL& gl = togl();
    gl.resize(1120, 840, false);
    gl.setCamera({0, 0, 3}, {0, 0, 0}, {0, 1, 0});
    gl.beginSnapshot();
    glColor3f(0.0f, 0.0f, 1.0f);
    glRectd(-5.0, -5.0, 5.0, 5.0);
    gl.endFrame();
    const std::vector<std::uint32_t> picks = gl.colorBuffer();

    gl.beginThumbnail({1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_FALSE(gl.snapshot());
    EXPECT_FALSE(gl.frameContext({}).snapshot);
    glColor3f(1.0f, 0.0f, 0.0f);
    glRectd(-0.5, -0.5, 0.5, 0.5);
    gl.endThumbnail();
    EXPECT_EQ(gl.thumbnailWidth(), TOGL::kThumbnailFrameSide);
    EXPECT_EQ(gl.thumbnailHeight(), TOGL::kThumbnailFrameSide * 3 / 4);
    EXPECT_EQ(gl.thumbnailColour(gl.thumbnailWidth() / 2, gl.thumbnailHeight() / 2) & 0xFFFFFFu,
              0x0000FFu);
    EXPECT_EQ(gl.thumbnailColour(1, 1) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(gl.colorBuffer(), picks);
    EXPECT_EQ(gl.bufferWidth(), 1120);
}

TEST(TOGLWindow, SnapshotsOfAHiddenWindowReadBackAndLeaveTheWindowAlone) {
    QWindow window;
    window.resize(120, 90);
    TOGL gl;
    ASSERT_TRUE(gl.attach(&window));
    EXPECT_FALSE(gl.windowless());
    EXPECT_EQ(window.surfaceType(), QSurface::OpenGLSurface);
    gl.resize(120, 90, false);

    // Never shown: the window owns no pixels, yet the snapshot reads back.
    gl.beginSnapshot();
    fillWindow(0.0f, 0.0f, 1.0f);
    gl.endFrame();
    EXPECT_EQ(gl.colorBuffer()[0] & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(gl.colorBuffer().back() & 0xFFFFFFu, 0xFF0000u);

    window.show();
    ASSERT_TRUE(waitForExposure(window));
    gl.beginFrame();
    fillWindow(1.0f, 0.0f, 0.0f);
    gl.endFrame();
    // What the window holds: red in the back buffer, drawn without a frame so that
    // no swap leaves it undefined.
    gl.makeCurrent();
    fillWindow(1.0f, 0.0f, 0.0f);
    gl.doneCurrent();

    gl.beginSnapshot();
    fillWindow(0.0f, 1.0f, 0.0f);
    gl.endFrame();
    EXPECT_EQ(gl.colorBuffer()[0] & 0xFFFFFFu, 0x00FF00u);

    gl.makeCurrent();
    glReadBuffer(GL_BACK);
    GLubyte held[4] = {};
    glReadPixels(60, 45, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, held);
    gl.doneCurrent();
    EXPECT_EQ(held[0], 255);
    EXPECT_EQ(held[1], 0);
    EXPECT_EQ(held[2], 0);
    gl.release();
    EXPECT_FALSE(gl.attached());
}

TEST(TOGLWindow, AttachRefusesNoWindow) {
    TOGL gl;
    EXPECT_FALSE(gl.attach(nullptr));
    EXPECT_FALSE(gl.attached());
    // Frames on an unattached TOGL do nothing rather than crash.
    gl.resize(10, 10, false);
    gl.beginSnapshot();
    gl.endFrame();
    EXPECT_FALSE(gl.pixelHasObject(5, 5).found);
}
