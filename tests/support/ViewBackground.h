#pragma once

#include "gl/Background.h"

#include <QColor>

#include <cstdlib>

// Whether `colour`, seen at row `y` (top row 0) of a view `height` pixels high, is
// the views' background gradient there, within `tolerance` in every channel: what
// a view shows where nothing, not even the floor, is drawn.
inline bool showsBackground(const QColor& colour, int y, int height, int tolerance = 3) {
    const Rgba expected = backgroundColour(1.0 - (y + 0.5) / height);
    const auto near = [&](int channel, float wanted) {
        return std::abs(channel - static_cast<int>(wanted * 255.0f + 0.5f)) <= tolerance;
    };
    return near(colour.red(), expected.r) && near(colour.green(), expected.g) &&
           near(colour.blue(), expected.b);
}
