#include "gl/OpenGLSetup.h"

#include <QCoreApplication>
#include <QSurfaceFormat>

QSurfaceFormat viewSurfaceFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(16);
    format.setStencilBufferSize(0);
    return format;
}

void prepareOpenGL() {
    QSurfaceFormat::setDefaultFormat(viewSurfaceFormat());
    // Textures are uploaded once and bound from the main view and the overall
    // window alike, so their contexts must share texture names.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
