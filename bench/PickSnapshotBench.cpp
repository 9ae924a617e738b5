#include "interaction/OpenGL.h"

#include "gl/TOGL.h"
#include "model/PickColour.h"
#include "organs/GridDrawing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 800;

// Forty wavy surfaces of 75 strips each in front of the main view's home camera:
// 3000 triangle strips of 60 vertices, about what a garden of flowers sends.
std::vector<Grid> sceneSurfaces() {
    std::vector<Grid> surfaces;
    for (int s = 0; s < 40; ++s) {
        Grid grid(76, 30);
        const double x0 = -0.9 + 0.045 * s;
        for (int r = 0; r < grid.rows(); ++r) {
            for (int c = 0; c < grid.columns(); ++c) {
                const double u = r / 75.0;
                const double v = c / 29.0;
                grid.at(r, c) = {x0 + 0.04 * v, 0.2 + 1.2 * u,
                                 0.1 * std::sin(6.0 * u + s) - 0.02 * s};
            }
        }
        surfaces.push_back(std::move(grid));
    }
    return surfaces;
}

struct PickView {
    TOGL togl;
    bool ready = false;
    PickView() {
        togl.setHomeCamera(kMainViewHomeCamera);
        ready = togl.attachWindowless();
        togl.resize(kWidth, kHeight, false);
    }
};

// The whole pick refresh: the snapshot frame of the scene in flat pick colours,
// then both buffers read back.
void BM_PickSnapshot(benchmark::State& state) {
    PickView view;
    if (!view.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const std::vector<Grid> surfaces = sceneSurfaces();
    for (auto _ : state) {
        view.togl.beginSnapshot();
        glDisable(GL_CULL_FACE);
        for (size_t i = 0; i < surfaces.size(); ++i) {
            const PickColour colour = pickColourOf(static_cast<int>(i) + 1, 0, 0, false, false);
            glColor3ub(colour.red, colour.green, colour.blue);
            drawGridStrips(surfaces[i], StripDirection::Forward, StripNormals::None, nullptr,
                           nullptr);
        }
        glEnable(GL_CULL_FACE);
        view.togl.endFrame();
        benchmark::DoNotOptimize(view.togl.colorBuffer().data());
    }
    // Share of the window the surfaces cover, to show that they were drawn.
    const auto& depth = view.togl.depthBuffer();
    const auto covered =
        std::count_if(depth.begin(), depth.end(), [](float d) { return d < 1.0f; });
    state.counters["covered"] = static_cast<double>(covered) / static_cast<double>(depth.size());
    state.SetLabel("1000x800, 3000 strips");
}
BENCHMARK(BM_PickSnapshot)->Unit(benchmark::kMillisecond);

// An empty snapshot frame: clearing and reading back the depth and colour buffers.
void BM_PickReadBack(benchmark::State& state) {
    PickView view;
    if (!view.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state) {
        view.togl.beginSnapshot();
        view.togl.endFrame();
        benchmark::DoNotOptimize(view.togl.depthBuffer().data());
    }
    state.SetLabel("1000x800");
}
BENCHMARK(BM_PickReadBack)->Unit(benchmark::kMillisecond);

// A click: one lookup in the stored buffers.
void BM_PixelHasObject(benchmark::State& state) {
    PickView view;
    if (!view.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    view.togl.beginSnapshot();
    view.togl.endFrame();
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(view.togl.pixelHasObject(x, 400));
        x = (x + 37) % kWidth;
    }
}
BENCHMARK(BM_PixelHasObject);

} // namespace
