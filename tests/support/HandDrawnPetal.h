#pragma once

// Petal outlines as a hand draws them, for tests and benchmarks: three strokes
// (left outline, midrib, right outline) that wander, tremble, speed up and slow
// down, may carry hooks at their ends and may be drawn in any order, one of them
// tip to base, anywhere on the plane z = 0. Seeded, so every run draws the same.

#include "interaction/Stroke.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <utility>

// Uniform numbers straight from mt19937, whose sequence the standard fixes (its
// distributions it does not).
class PenNoise {
public:
    explicit PenNoise(std::uint32_t seed) : engine_(seed) {}
    double uniform(double lo, double hi) { return lo + (hi - lo) * (engine_() / 4294967296.0); }
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }

private:
    std::mt19937 engine_;
};

struct PetalSketch {
    std::array<Stroke, 3> strokes; // in drawing order
    Vector3 base, tip;             // in the drawing plane
};

struct PetalSketchStyle {
    int points = 80; // per stroke
    double height = 1.0;
    bool hooks = true;
    bool shuffled = true;    // the strokes in a random order
    bool oneReversed = true; // one random stroke drawn tip to base
};

inline Vector3 turnedAboutZ(const Vector3& v, double angle) {
    return {std::cos(angle) * v.x - std::sin(angle) * v.y,
            std::sin(angle) * v.x + std::cos(angle) * v.y, v.z};
}

// A hook of 3 samples at `end`: the pen flicks back almost along the stroke's
// direction `along` there. Returned from the far end towards `end`.
inline PointList penHook(PenNoise& noise, const Vector3& end, const Vector3& along, double size) {
    const double sharp = noise.uniform(0.05, 0.2) * (noise.uniform(0, 1) < 0.5 ? -1 : 1);
    const Vector3 out = turnedAboutZ(along, sharp) * (size * noise.uniform(0.04, 0.1));
    return {end + out, end + out * 0.66, end + out * 0.33};
}

inline PetalSketch drawPetal(PenNoise& noise, const PetalSketchStyle& style = {}) {
    const double H = style.height;
    const double width = H * noise.uniform(0.25, 0.45);
    const double skew = noise.uniform(-0.4, 0.4);
    PetalSketch sketch;
    std::array<PointList, 3> local;
    for (int side = -1; side <= 1; ++side) {
        const double wanderPhase = noise.uniform(0, 6.3);
        const double speedPhase = noise.uniform(0, 6.3);
        const double reach = side == 0 ? noise.uniform(0.85, 0.97) : 1.0;
        const Vector3 start(H * noise.uniform(-0.02, 0.02), H * noise.uniform(-0.02, 0.02), 0);
        const Vector3 end(H * noise.uniform(-0.02, 0.02), H * noise.uniform(-0.02, 0.02), 0);
        PointList& pts = local[side + 1];
        for (int k = 0; k < style.points; ++k) {
            const double u = double(k) / (style.points - 1);
            const double t = u + 0.03 * std::sin(2 * std::numbers::pi * 2 * u + speedPhase) *
                                     std::sin(std::numbers::pi * u);
            const double bulge = std::pow(std::sin(std::numbers::pi * t), 0.7) *
                                 (1 + skew * (t - 0.5)) * (side == 0 ? 0.05 : side);
            const double wander = 0.015 * H * std::sin(std::numbers::pi * t) *
                                  std::sin(2 * std::numbers::pi * 1.5 * t + wanderPhase);
            pts.push_back(start * (1 - t) + end * t +
                          Vector3(width * bulge + wander + noise.uniform(-0.002, 0.002) * H,
                                  H * reach * t + noise.uniform(-0.002, 0.002) * H, 0));
        }
        if (style.hooks) {
            const PointList head = penHook(noise, pts.front(), unit(pts[1] - pts[0]), H);
            const PointList tail = penHook(noise, pts.back(), unit(pts.end()[-2] - pts.back()), H);
            pts.insert(pts.begin(), head.begin(), head.end());
            pts.insert(pts.end(), tail.rbegin(), tail.rend());
        }
    }
    const double angle = noise.uniform(-std::numbers::pi, std::numbers::pi);
    const Vector3 offset(noise.uniform(-2, 2), noise.uniform(-2, 2), 0);
    const auto place = [&](const Vector3& p) { return turnedAboutZ(p, angle) + offset; };
    sketch.base = place({0, 0, 0});
    sketch.tip = place({0, H, 0});
    for (int i = 0; i < 3; ++i)
        for (const Vector3& p : local[i])
            sketch.strokes[i].add(place(p));
    if (style.shuffled)
        for (int i = 2; i > 0; --i)
            std::swap(sketch.strokes[i], sketch.strokes[noise.below(i + 1)]);
    if (style.oneReversed) {
        PointList& pts = sketch.strokes[noise.below(3)].points;
        std::reverse(pts.begin(), pts.end());
    }
    return sketch;
}
