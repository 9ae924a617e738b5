#pragma once

#include <QImage>

// Paints the library view off-screen: the library browser draws into a bitmap of
// the view's size, which the view then copies to the screen in one piece.
class LibraryViewPainter {
public:
    // The library view of the given size, freshly drawn.
    const QImage& paint(int width, int height);

private:
    QImage offscreen_;
};

LibraryViewPainter& libraryViewPainter();
