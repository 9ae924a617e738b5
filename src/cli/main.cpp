#include "cli/CliCommands.h"
#include "cli/CliRender.h"
#include "gl/DiagnosticsLog.h"
#include "gl/OpenGLSetup.h"
#include "gl/TextureManager.h"

#include <QGuiApplication>

#include <algorithm>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // --verbose may stand anywhere; it only turns the diagnostics on.
    if (const auto verbose = std::find(args.begin(), args.end(), "--verbose");
        verbose != args.end()) {
        args.erase(verbose);
        enableVerboseLog();
    }
    routeDiagnosticsToLog();
    // Textures named in a library load from disk, so exports name them and renders show them.
    TextureManager textures;
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
    const int status = runCli(args, std::cout, std::cerr, renderEntry, &textures);
    // Once per image, however many organs wear it.
    for (const TextureManager::Failure& failure : textures.failures())
        std::cerr << "pelmora-cli: " << failure.message() << "\n";
    return status;
}
