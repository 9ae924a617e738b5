#include "cli/CliRender.h"

#include "cli/CliLibrary.h"
#include "gl/Background.h"
#include "gl/GroundShadows.h"
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
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

bool renderEntry(const CliEntry& entry, TextureCache* textures, const std::string& path, int width,
                 int height, std::string& error) {
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
    togl.resize(width, height, false);
    togl.resetCamera();
    togl.beginFrame();
    togl.loadViewMatrix();
    // The command-line tool draws with the built-in display switches.
    DrawContext records;
    records.textures = textures;
    const DrawContext draw = togl.frameContext(records);
    drawBackground(draw);
    drawGround(draw, entry.scene ? shadowsOf(*entry.scene, draw)
                                 : std::vector<GroundShadow>{shadowOf(*entry.object, Matrix4(), draw)});
    placeFrameLights();
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
