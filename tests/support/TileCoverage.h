#pragma once

#include "control/Thumbnail.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// Inside a library tile's one-pixel border, the pixels that show the object rather
// than the tiles' light ground (within `tolerance`, summed over the channels), and
// the box they fill.
struct TileCoverage {
    int objectPixels = 0;
    int left = 0, top = 0, right = -1, bottom = -1;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

inline TileCoverage tileCoverage(const QImage& tile, int tolerance) {
    const auto channel = [](float c) { return static_cast<int>(std::lround(c * 255.0f)); };
    const int red = channel(kTileBackground.r), green = channel(kTileBackground.g),
              blue = channel(kTileBackground.b);
    TileCoverage c;
    c.left = tile.width();
    c.top = tile.height();
    for (int y = 1; y < tile.height() - 1; ++y)
        for (int x = 1; x < tile.width() - 1; ++x) {
            const QRgb p = tile.pixel(x, y);
            if (std::abs(qRed(p) - red) + std::abs(qGreen(p) - green) + std::abs(qBlue(p) - blue) <=
                tolerance)
                continue;
            ++c.objectPixels;
            c.left = std::min(c.left, x);
            c.right = std::max(c.right, x);
            c.top = std::min(c.top, y);
            c.bottom = std::max(c.bottom, y);
        }
    return c;
}
