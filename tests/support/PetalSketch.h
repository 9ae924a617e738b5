#pragma once

// The three strokes a person draws a petal with on the plane z = 0 of the main view,
// and the window pixels a world point is seen at; for the tests and benchmarks that
// drive the petal mode with window coordinates.
#include "interaction/PlaneHits.h"
#include "math/Vector3.h"

#include <cmath>
#include <numbers>
#include <vector>

// Petal outlines in the drawing plane: from just beside the base to just beyond
// the tip, bulging `width` out to one side, so that the two outlines cross near
// both ends.
inline std::vector<Vector3> outline(double side, double width) {
    std::vector<Vector3> points;
    for (int k = 0; k <= 40; ++k) {
        const double t = k / 40.0;
        const double bulge = std::pow(std::sin(std::numbers::pi * t), 0.7);
        points.push_back({side * (width * bulge - 0.02), -0.03 + 1.06 * t, 0.0});
    }
    return points;
}

inline std::vector<Vector3> straightLine(const Vector3& from, const Vector3& to, int points) {
    std::vector<Vector3> line;
    for (int k = 0; k < points; ++k)
        line.push_back(from + (to - from) * (k / double(points - 1)));
    return line;
}

// A window client position, y growing downwards.
struct WindowPixel {
    int x = 0;
    int y = 0;
};

// The window pixel a world point is seen at through the view's camera and viewport.
inline WindowPixel windowPixelOf(const ViewTransform& view, const Vector3& p) {
    const Vector3 at = projectToWindow(view, p);
    return {static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))};
}
