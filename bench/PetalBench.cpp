#include "interaction/PetalStrokes.h"
#include "model/Parameters.h"
#include "organs/FlowerPetalNode.h"
#include "support/FullSumPetal.h"
#include "support/HandDrawnPetal.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// The three strokes of a hand-drawn petal, as the petal mode hands them over.
PetalStrokes sketchedStrokes() {
    PenNoise noise(2024);
    const PetalSketch sketch = drawPetal(noise);
    PetalStrokes strokes;
    makePetalStrokes(sketch.strokes[0], sketch.strokes[1], sketch.strokes[2], strokes);
    return strokes;
}

// The default 8 x 11 control net of that petal.
PetalControlPointManager sketchedNet() {
    const PetalStrokes strokes = sketchedStrokes();
    PetalControlPointManager net;
    net.createFromOutline(strokes.left.points, strokes.middle.points, strokes.right.points,
                          Parameters().petalControlPoints);
    return net;
}

// Surface resolution range(0) x range(0) for the petals built inside a benchmark.
struct Resolution {
    Parameters values;
    explicit Resolution(const benchmark::State& state) {
        const int n = static_cast<int>(state.range(0));
        values.petal = {n, n};
    }
};

// A new petal from its three strokes: the net, the surface and the main axis.
void BM_PetalConstruct(benchmark::State& state) {
    const Resolution resolution(state);
    const PetalStrokes strokes = sketchedStrokes();
    for (auto _ : state) {
        FlowerPetalNode petal(1, strokes.left, strokes.middle, strokes.right, resolution.values);
        benchmark::DoNotOptimize(petal.shape().positions(PetalHalf::Left).cells().data());
    }
}
BENCHMARK(BM_PetalConstruct)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// Resampling positions and normals at the current resolution.
void BM_PetalSample(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const PetalControlPointManager net = sketchedNet();
    PetalShape shape;
    shape.rebuild(net, n, n);
    for (auto _ : state) {
        shape.sample(net);
        benchmark::DoNotOptimize(shape.positions(PetalHalf::Right).cells().data());
    }
}
BENCHMARK(BM_PetalSample)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// A rebuild: fresh grids, positions, normals and texture coordinates.
void BM_PetalRebuild(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const PetalControlPointManager net = sketchedNet();
    PetalShape shape;
    for (auto _ : state) {
        shape.rebuild(net, n, n);
        benchmark::DoNotOptimize(shape.positions(PetalHalf::Right).cells().data());
    }
}
BENCHMARK(BM_PetalRebuild)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// The baseline: positions alone, every sample summed over the whole net.
void BM_PetalSampleFullSum(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const PetalControlPointManager net = sketchedNet();
    for (auto _ : state) {
        const FullSumSamples samples = fullSumSample(net, n, n);
        benchmark::DoNotOptimize(samples.right.cells().data());
    }
}
BENCHMARK(BM_PetalSampleFullSum)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// Both in one run, timed side by side: the windowed sample (positions and normals)
// and the full-sum positions, with their ratio.
void BM_PetalSampleAgainstFullSum(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const int n = static_cast<int>(state.range(0));
    const PetalControlPointManager net = sketchedNet();
    PetalShape shape;
    shape.rebuild(net, n, n);
    double windowed = 0.0, full = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        shape.sample(net);
        benchmark::DoNotOptimize(shape.positions(PetalHalf::Right).cells().data());
        const auto middle = Clock::now();
        const FullSumSamples samples = fullSumSample(net, n, n);
        benchmark::DoNotOptimize(samples.right.cells().data());
        const auto end = Clock::now();
        windowed += std::chrono::duration<double, std::micro>(middle - start).count();
        full += std::chrono::duration<double, std::micro>(end - middle).count();
    }
    state.counters["windowed_us"] =
        benchmark::Counter(windowed, benchmark::Counter::kAvgIterations);
    state.counters["fullsum_us"] = benchmark::Counter(full, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = full / windowed;
}
BENCHMARK(BM_PetalSampleAgainstFullSum)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// Dragging an inner control point of a petal of range(0) x range(0) samples: the
// modify mode's work per mouse move.
void BM_PetalDragInnerPoint(benchmark::State& state) {
    const Resolution resolution(state);
    const PetalStrokes strokes = sketchedStrokes();
    FlowerPetalNode petal(1, strokes.left, strokes.middle, strokes.right, resolution.values);
    const Vector3 start = petal.controlPoints().pointAt(4, 2);
    int step = 0;
    for (auto _ : state) {
        petal.editByPick(4, 2, start + Vector3(0.001 * (step++ % 50), 0, 0.002), resolution.values);
        benchmark::DoNotOptimize(petal.shape().positions(PetalHalf::Left).cells().data());
    }
}
BENCHMARK(BM_PetalDragInnerPoint)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// Dragging the tip, which scales the net and rebuilds the surface.
void BM_PetalDragTip(benchmark::State& state) {
    const Resolution resolution(state);
    const PetalStrokes strokes = sketchedStrokes();
    FlowerPetalNode petal(1, strokes.left, strokes.middle, strokes.right, resolution.values);
    const int tip = petal.controlPoints().tipRow();
    const int c = petal.controlPoints().midribColumn();
    const Vector3 top = petal.controlPoints().midribPoint(tip);
    int step = 0;
    for (auto _ : state) {
        // Alternately up and back down, so the petal keeps its size.
        const double y = step++ % 2 == 0 ? top.y * 1.01 : top.y;
        petal.editByPick(tip, c, {top.x, y, top.z}, resolution.values);
        benchmark::DoNotOptimize(petal.shape().positions(PetalHalf::Left).cells().data());
    }
}
BENCHMARK(BM_PetalDragTip)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace
