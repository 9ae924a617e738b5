#include "gl/DiagnosticsLog.h"
#include "gl/OpenGLSetup.h"
#include "ui/CPelmoraApp.h"
#include "ui/CommandLine.h"

#include <cstdio>

namespace {

int answer(const CommandLineRequest& request, const QString& out, const QString& err) {
    std::fputs(out.toLocal8Bit().constData(), stdout);
    std::fputs(err.toLocal8Bit().constData(), stderr);
    return request.exitStatus;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString out, err;
    // Help and version need no window: answered before anything opens a display.
    const CommandLineRequest early = parseCommandLine(arguments, out, err);
    if (!early.run && early.exitStatus == 0)
        return answer(early, out, err);
    // Before the application object, so that its own start is followed too.
    if (early.verbose)
        enableVerboseLog();

    prepareOpenGL();
    CPelmoraApp application(argc, argv);
    // The application has taken the window system's options out of the arguments.
    out.clear();
    err.clear();
    const CommandLineRequest request = parseCommandLine(CPelmoraApp::arguments(), out, err);
    if (!request.run)
        return answer(request, out, err);
    application.initInstance(request.library);
    const int status = CPelmoraApp::exec();
    application.exitInstance();
    return status;
}
