#include "interaction/PetalStrokes.h"
#include "support/HandDrawnPetal.h"

#include <benchmark/benchmark.h>

namespace {

PetalSketch handDrawnPetal(int points) {
    PenNoise noise(2024);
    PetalSketchStyle style;
    style.points = points;
    return drawPetal(noise, style);
}

// One petal from three raw strokes of 200 points, the work of a third pen release.
void BM_MakePetalStrokes(benchmark::State& state) {
    const PetalSketch sketch = handDrawnPetal(200);
    for (auto _ : state) {
        PetalStrokes petal;
        benchmark::DoNotOptimize(
            makePetalStrokes(sketch.strokes[0], sketch.strokes[1], sketch.strokes[2], petal));
        benchmark::DoNotOptimize(petal.left.points.data());
    }
}
BENCHMARK(BM_MakePetalStrokes);

// Raw stroke of range(0) points resampled into range(1) equal segments.
void BM_Resample(benchmark::State& state) {
    const Stroke raw = handDrawnPetal(static_cast<int>(state.range(0))).strokes[0];
    const int segments = static_cast<int>(state.range(1));
    for (auto _ : state) {
        Stroke target;
        Stroke::resample(segments, raw, target);
        benchmark::DoNotOptimize(target.points.data());
    }
    state.SetItemsProcessed(state.iterations() * raw.size());
}
BENCHMARK(BM_Resample)->Args({200, 20})->Args({2000, 20})->Args({2000, 300});

// Picking a 200-point axis with a ray, once per candidate under the cursor.
void BM_PickWithRay(benchmark::State& state) {
    const Stroke axis = handDrawnPetal(200).strokes[1];
    const Vector3 origin(0.1, 0.4, 5.0);
    const Vector3 down(0, 0, -1);
    for (auto _ : state)
        benchmark::DoNotOptimize(axis.pickWithRay(origin, down));
}
BENCHMARK(BM_PickWithRay);

} // namespace
