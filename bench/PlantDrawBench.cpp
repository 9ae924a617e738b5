// Cloning and drawing a plant of 50 flowers under a real GL context, against the
// same triangles replayed from one display list: the GL driver's own limit here.
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kFlowers = 50;

struct DrawSetup {
    IdCounter ids;
    ScopedModelContext context{{&ids, nullptr, nullptr, nullptr}};
    TOGL togl;
    std::unique_ptr<FlowerObjectComposite> plant = samples::plant(kFlowers);
    bool ready = false;

    DrawSetup() {
        togl.setHomeCamera(kMainViewHomeCamera);
        ready = togl.attachWindowless();
        if (ready)
            togl.resize(1000, 800, false);
    }
};

// Primitives the GL generated for one call of `draw`.
template <typename Draw> GLuint trianglesOf(Draw draw) {
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

// Starts an off-screen frame with the main view's camera and lights.
void beginLitFrame(DrawSetup& s) {
    s.togl.beginFrame();
    s.togl.loadViewMatrix();
    placeFrameLights();
}

// Frames of `draw` inside one off-screen frame: clear, draw, finish.
template <typename Draw> void runFrames(benchmark::State& state, DrawSetup& s, Draw draw) {
    beginLitFrame(s);
    state.counters["triangles"] = trianglesOf(draw);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
    }
    s.togl.endFrame();
}

void BM_ClonePlant(benchmark::State& state) {
    DrawSetup s;
    for (auto _ : state) {
        auto copy = s.plant->clone();
        benchmark::DoNotOptimize(copy.get());
    }
}

void BM_DrawPlantSolid(benchmark::State& state) {
    DrawSetup s;
    if (!s.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    runFrames(state, s, [&s] { s.plant->drawSolid(); });
}

void BM_DrawPlantFromDisplayList(benchmark::State& state) {
    DrawSetup s;
    if (!s.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    // Compiled inside a frame, in the state the direct drawing sees.
    beginLitFrame(s);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    s.plant->drawSolid();
    glEndList();
    s.togl.endFrame();
    runFrames(state, s, [list] { glCallList(list); });
    s.togl.makeCurrent();
    glDeleteLists(list, 1);
    s.togl.doneCurrent();
}

} // namespace

BENCHMARK(BM_ClonePlant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPlantSolid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DrawPlantFromDisplayList)->Unit(benchmark::kMillisecond)->UseRealTime();
