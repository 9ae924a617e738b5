#pragma once

#include <QImage>

#include <cstdlib>

// Whether some channel of the two colours differs by more than `tolerance`.
inline bool coloursDiffer(QRgb p, QRgb q, int tolerance) {
    return std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
           std::abs(qBlue(p) - qBlue(q)) > tolerance;
}

// The pixels of two frames of one size of which some channel differs by more than
// `tolerance`.
inline int differingPixels(const QImage& a, const QImage& b, int tolerance = 16) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += coloursDiffer(a.pixel(x, y), b.pixel(x, y), tolerance);
    return differing;
}
