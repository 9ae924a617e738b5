#include "gl/OpenGLSetup.h"
#include "ui/CPelmoraApp.h"

int main(int argc, char** argv) {
    prepareOpenGL();
    CPelmoraApp application(argc, argv);
    application.initInstance();
    const int status = CPelmoraApp::exec();
    application.exitInstance();
    return status;
}
