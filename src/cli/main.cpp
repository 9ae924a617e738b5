#include "gl/OpenGLSetup.h"
#include "gl/TextureManager.h"
#include "cli/CliCommands.h"
#include "cli/CliRender.h"
#include "model/ModelContext.h"

#include <QGuiApplication>

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    // Textures named in a library load from disk, so exports name them and renders show them.
    TextureManager textures;
    ScopedModelContext context({nullptr, nullptr, nullptr, &textures});
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Only rendering needs the GUI application with a display; the floral diagram's
    // caption needs the fonts of one, which the off-screen platform has.
    std::unique_ptr<QGuiApplication> application;
    if (!args.empty() && args[0] == "render" && renderDisplayAvailable()) {
        prepareOpenGL();
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else if (!args.empty() && args[0] == "diagram") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    return runCli(args, std::cout, std::cerr, renderEntry);
}
