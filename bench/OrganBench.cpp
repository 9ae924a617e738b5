#include "model/Parameters.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

// A gently curving upright stroke of `points` points and about `height` long.
Stroke curvedStroke(int points, double height) {
    Stroke s;
    for (int i = 0; i < points; ++i) {
        const double t = static_cast<double>(i) / (points - 1);
        s.add({0.1 * height * std::sin(3.0 * t), height * t, 0.05 * height * t * t});
    }
    return s;
}

// An arch up the left side and down the right, as a pistil outline is drawn.
Stroke pistilOutline(int points) {
    Stroke s;
    for (int i = 0; i < points; ++i) {
        const double t = std::numbers::pi * i / (points - 1);
        s.add({-0.05 * std::cos(t), 0.4 * std::sin(t) + 0.02 * i / points, 0.0});
    }
    return s;
}

// Every organ resolution set to `resolution` (vertical and horizontal).
Parameters withResolution(int resolution) {
    Parameters p;
    p.stem = p.stamen = p.anther = p.pistil = {resolution, resolution};
    return p;
}

// The tube sweep alone: range(0) rings of range(1) columns along a 31-point axis.
void BM_BuildTube(benchmark::State& state) {
    const Stroke axis = curvedStroke(31, 1.0);
    const int rows = static_cast<int>(state.range(0));
    const int columns = static_cast<int>(state.range(1));
    StemShape tube;
    for (auto _ : state) {
        tube.buildTube(axis, 1.0, 0.008, 0.004, rows, columns);
        benchmark::DoNotOptimize(tube.positions.cells().data());
    }
    state.SetItemsProcessed(state.iterations() * rows * columns);
}
BENCHMARK(BM_BuildTube)->Args({10, 6})->Args({200, 100});

// A stem of length 1 from a 100-point stroke: 2 x range(0) rings of range(0) columns
// at the stem resolution range(0) (10 is the default, 100 the largest).
void BM_StemFromStroke(benchmark::State& state) {
    const Parameters p = withResolution(static_cast<int>(state.range(0)));
    const Stroke stroke = curvedStroke(100, 1.0);
    for (auto _ : state) {
        FlowerStemNode stem(1, stroke, p);
        benchmark::DoNotOptimize(stem.tube.positions.cells().data());
    }
}
BENCHMARK(BM_StemFromStroke)->Arg(10)->Arg(100);

// A stamen from a 60-point filament stroke, then its anther from a 20-point stroke.
void BM_StamenWithAnther(benchmark::State& state) {
    const Parameters p = withResolution(static_cast<int>(state.range(0)));
    const Stroke filament = curvedStroke(60, 0.6);
    Stroke antherStroke = curvedStroke(20, 0.08);
    antherStroke.translate(filament.back());
    for (auto _ : state) {
        FlowerStamenNode stamen(1, filament, p);
        stamen.setAnther(antherStroke, p);
        benchmark::DoNotOptimize(stamen.anther.positions.cells().data());
    }
}
BENCHMARK(BM_StamenWithAnther)->Arg(10)->Arg(100);

// A pistil from an 80-point outline stroke.
void BM_PistilFromStroke(benchmark::State& state) {
    const Parameters p = withResolution(static_cast<int>(state.range(0)));
    const Stroke outline = pistilOutline(80);
    for (auto _ : state) {
        FlowerPistilNode pistil(1, outline, p);
        benchmark::DoNotOptimize(pistil.tube.positions.cells().data());
    }
}
BENCHMARK(BM_PistilFromStroke)->Arg(10)->Arg(100);

} // namespace
