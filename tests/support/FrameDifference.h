#pragma once

#include <QImage>

#include <cstdlib>

// The pixels of two frames of one size of which some channel differs by more than
// `tolerance`.
inline int differingPixels(const QImage& a, const QImage& b, int tolerance = 16) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) > tolerance ||
                         std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                         std::abs(qBlue(p) - qBlue(q)) > tolerance;
        }
    return differing;
}
