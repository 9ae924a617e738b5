#include "control/LibraryViewPainter.h"

#include "control/FloralDiagram.h"
#include "control/LibraryBrowser.h"
#include "control/Singleton.h"

#include <QPainter>

const QImage& LibraryViewPainter::paint(int width, int height) {
    if (width <= 0 || height <= 0) {
        offscreen_ = QImage();
        return offscreen_;
    }
    if (offscreen_.width() != width || offscreen_.height() != height)
        offscreen_ = QImage(width, height, QImage::Format_RGB32);
    QPainter painter(&offscreen_);
    libraryBrowser().draw(painter, width, height);
    floralDiagram().paint(painter, 0, LibraryBrowser::kDiagramTop, width, height);
    return offscreen_;
}

LibraryViewPainter& libraryViewPainter() {
    return singleton<LibraryViewPainter>();
}
