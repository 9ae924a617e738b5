// A scene of 20 plants of 50 flowers each, as the scene modes show it: a frame of
// the main view with the whole scene (mode 0), a frame with the focus on one
// flower's branch and the scene around it translucent (mode 1), a frame and a pick
// snapshot as every commit does them, and a frame of the overall window; each
// against the scene's triangles replayed from one display list in the same run.
#include "control/AppController.h"
#include "control/ControlSingletons.h"
#include "control/ViewHost.h"
#include "gl/TOGL.h"
#include "interaction/FloorGrid.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "modes/ModeSingletons.h"
#include "modes/MouseListenerManager.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kPlants = 20;
constexpr int kFlowers = 50;

// The main view and the overall window without windows, each painted as its view
// paints itself into the off-screen frame of a windowless context.
class WindowlessViews final : public ViewHost {
public:
    TOGL main;
    TOGL overall;

    void redrawMainView() override {
        main.beginFrame();
        drawFloorGrid();
        appController().drawMainView();
        mouseListenerManager().drawMainOverlay();
        main.endFrame();
    }
    void redrawOverallView() override {
        overall.beginFrame();
        drawFloorGrid();
        appController().drawOverall();
        overall.endFrame();
    }
    void redrawLibraryView() override {}
    TOGL* mainContext() override { return &main; }
    TOGL* overallContext() override { return &overall; }
};

// The scene open in mode 0, its plants in four rows of five, every camera looking
// at all of it.
struct SceneSetup {
    WindowlessViews views;
    bool ready = false;

    SceneSetup() {
        const CameraPose whole{{0.0, 3.0, 14.0}, {0.0, 1.5, 0.0}, {0.0, 1.0, 0.0}};
        views.main.setHomeCamera(whole);
        views.overall.setHomeCamera(whole);
        ready = views.main.attachWindowless() && views.overall.attachWindowless();
        if (!ready)
            return;
        views.main.resize(1000, 800, false);
        views.overall.resize(600, 500, false);
        AppController& controller = appController();
        controller.setViewHost(&views);
        mouseListenerManager();
        controller.createScene();
        for (int i = 0; i < kPlants; ++i) {
            const Vector3 at{-4.0 + 2.0 * (i % 5), 0.0, -2.0 * (i / 5)};
            controller.root()->plantAlongStroke(samples::plant(kFlowers),
                                                samples::line(at, at + Vector3(0, 3, 0)));
        }
        controller.commit(kChangeScene);
    }
    ~SceneSetup() {
        destroyModeSingletons();
        destroyControlSingletons();
    }

    // The focus on the branch carrying the first flower of the first plant.
    void focusOnAFlower() {
        AppController& controller = appController();
        const FlowerObjectComposite& plant = *controller.root()->m_children.front();
        controller.focusDown(plant.id, false);
        controller.focusDown(plant.m_children.front()->id, false);
        controller.commit();
    }
};

// Whether the contexts came up; the benchmark is skipped when they did not.
bool ready(benchmark::State& state, const SceneSetup& s) {
    if (!s.ready)
        state.SkipWithError("no OpenGL context");
    return s.ready;
}

void BM_SceneFrameMode0(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    for (auto _ : state)
        s.views.redrawMainView();
}

void BM_SceneFrameFocusOnFlower(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    s.focusOnAFlower();
    if (appController().mode() != kModeSceneModify)
        state.SkipWithError("the focus is not on a flower's branch");
    for (auto _ : state)
        s.views.redrawMainView();
}

// What every commit that changed the scene does at the least: one frame and one
// pick snapshot.
void BM_SceneFrameAndPickSnapshot(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    for (auto _ : state)
        appController().commit(kChangeMainView);
}

void BM_SceneOverallFrame(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    for (auto _ : state)
        s.views.redrawOverallView();
}

// The GL driver's own limit: the whole scene's triangles from one display list,
// in a frame of the main view's size.
void BM_SceneFromDisplayList(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    TOGL& gl = s.views.main;
    gl.beginFrame();
    gl.loadViewMatrix();
    placeFrameLights();
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    appController().root()->drawSolid();
    glEndList();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCallList(list);
        glFinish();
    }
    glDeleteLists(list, 1);
    gl.endFrame();
}

} // namespace

BENCHMARK(BM_SceneFrameMode0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneFrameFocusOnFlower)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneFrameAndPickSnapshot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneOverallFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneFromDisplayList)->Unit(benchmark::kMillisecond)->UseRealTime();
