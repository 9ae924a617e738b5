#include "interaction/OpenGL.h"

#include "cli/CliRender.h"

#include "cli/CliLibrary.h"
#include "gl/Background.h"
#include "gl/GroundShadows.h"
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "model/AxisOpeningOrder.h"
#include "model/DrawContext.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdlib>

bool renderDisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

namespace {

// Turns the world about the vertical axis through the view's centre and tilts it
// towards the viewer about the horizontal one, after the lights are placed: the
// object turns on a turntable while the camera and the lights stay where they are.
void turnTable(const RenderOptions& options, const Vector3& centre) {
    glTranslated(centre.x, centre.y, centre.z);
    glRotated(options.elevation, 1.0, 0.0, 0.0);
    glRotated(options.turn, 0.0, 1.0, 0.0);
    glTranslated(-centre.x, -centre.y, -centre.z);
}

} // namespace

bool renderEntry(const CliEntry& entry, TextureCache* textures, const std::string& path,
                 const RenderOptions& options, std::string& error) {
    if (!QGuiApplication::instance()) {
        error =
            "render needs an X server; without a screen run: xvfb-run -a pelmora-cli render ...";
        return false;
    }
    TOGL togl;
    togl.setHomeCamera(kMainViewHomeCamera);
    if (!togl.attachWindowless()) {
        error = "cannot create an OpenGL context";
        return false;
    }
    togl.setSmoothing(options.samples);
    togl.resize(options.width, options.height, false);
    togl.resetCamera();
    togl.beginFrame();
    togl.loadViewMatrix();
    // The command-line tool draws with the built-in display switches.
    DrawContext records;
    records.textures = textures;
    AxisOpeningOrder order;
    order.addPlantsOf(entry.node(), false);
    records.bloom = {options.time, &order};
    const DrawContext draw = togl.frameContext(records);
    drawBackground(draw);
    placeFrameLights();
    // The floor and the shadows on it turn with the object, as on a turntable.
    turnTable(options, kMainViewHomeCamera.center);
    drawGround(draw, entry.scene ? shadowsOf(*entry.scene, draw)
                                 : std::vector<GroundShadow>{shadowOf(*entry.object, Matrix4(), draw)});
    entry.node().drawSolid(draw);
    togl.endFrame();
    const QImage frame = togl.frameImage();
    togl.release();
    if (frame.isNull()) {
        error = "the frame could not be read back";
        return false;
    }
    if (!frame.save(QString::fromStdString(path), "PNG")) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
