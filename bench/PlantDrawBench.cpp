// Cloning and drawing a plant of 50 flowers under a real GL context, against the
// same triangles replayed from one display list: the GL driver's own limit here.
// Then the plant as the plant-editing mode (7) shows it: a whole frame of the main
// view, and a branch stroke's release up to the refreshed picks, against the one
// frame and one pick snapshot that the release's commit cannot do without; and a
// move of the time slider over its bloom, against the one frame.
#include "control/AppController.h"
#include "control/ControlSingletons.h"
#include "control/ViewHost.h"
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "modes/ModeSingletons.h"
#include "modes/MouseListenerManager.h"
#include "organs/ModelledBud.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kFlowers = 50;

struct DrawSetup {
    OwnModelRecords records;
    TOGL togl;
    std::unique_ptr<FlowerObjectComposite> plant = samples::plant(records.records(), kFlowers);
    bool ready = false;
    // A plain frame: no pick snapshot, no switches, textures or selection.
    DrawContext draw;

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
        auto copy = s.plant->clone(s.records.ids);
        benchmark::DoNotOptimize(copy.get());
    }
}

void BM_DrawPlantSolid(benchmark::State& state) {
    DrawSetup s;
    if (!s.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    runFrames(state, s, [&s] { s.plant->drawSolid(s.draw); });
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
    s.plant->drawSolid(s.draw);
    glEndList();
    s.togl.endFrame();
    runFrames(state, s, [list] { glCallList(list); });
    s.togl.makeCurrent();
    glDeleteLists(list, 1);
    s.togl.doneCurrent();
}

// The main view without a window: painted as the view paints itself, into the
// off-screen frame of a windowless context.
class WindowlessMainView final : public ViewHost {
public:
    TOGL context;

    void redrawMainView() override {
        context.beginFrame();
        const DrawContext draw = context.frameContext(appController().drawRecords());
        appController().drawMainView(draw);
        mouseListenerManager().drawMainOverlay(draw);
        context.endFrame();
    }
    void redrawOverallView() override {}
    void redrawLibraryView() override {}
    TOGL* mainContext() override { return &context; }
    TOGL* overallContext() override { return nullptr; }
};

// The plant as the work object of mode 7, with the controller and the modes of the
// program around it; they go again with the setup.
struct PlantModeSetup {
    WindowlessMainView view;
    bool ready = false;

    PlantModeSetup() {
        view.context.setHomeCamera(kMainViewHomeCamera);
        ready = view.context.attachWindowless();
        if (!ready)
            return;
        view.context.resize(1000, 800, false);
        AppController& controller = appController();
        controller.setViewHost(&view);
        mouseListenerManager();
        controller.setWorkObject(
            samples::plant({controller.ids(), controller.settings().parameters}, kFlowers));
        controller.switchToMode(kModeCompositeModify);
        controller.commit();
    }
    ~PlantModeSetup() {
        destroyModeSingletons();
        destroyControlSingletons();
    }

    // A mouse message at the window pixel where a world point is seen.
    void message(MouseMessage message, const Vector3& at) {
        const Vector3 pixel = projectToWindow(view.context.viewTransform(), at);
        mouseListenerManager().mainViewMessage(message, static_cast<int>(pixel.x),
                                               static_cast<int>(pixel.y));
    }
};

// Argument: samples per pixel that smooth the edges, as a view window asks for
// (4), against none (1).
void BM_PlantFrameInPlantMode(benchmark::State& state) {
    PlantModeSetup s;
    if (!s.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    s.view.context.setSmoothing(static_cast<int>(state.range(0)));
    for (auto _ : state)
        s.view.redrawMainView();
}

// What every commit that changed the plant does at the least.
void BM_FrameAndPickSnapshot(benchmark::State& state) {
    PlantModeSetup s;
    if (!s.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    for (auto _ : state)
        appController().commit(kChangeMainView);
}

// A branch stroke drawn from the middle of the plant's axis: the press and the
// moves untimed, the release timed up to the refreshed picks. The new branch is
// taken off again untimed, so that every stroke meets the same plant.
void BM_BranchStrokeReleaseToPicks(benchmark::State& state) {
    PlantModeSetup s;
    if (!s.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    auto* plant = asComposite(appController().workObject());
    const Vector3 from{0.0, 1.2, 0.0};
    const Vector3 to{0.4, 1.5, 0.0};
    const int before = appController().mainContext()->pickFrameCount();
    for (auto _ : state) {
        state.PauseTiming();
        s.message(MouseMessage::LButtonDown, from);
        for (int k = 1; k <= 10; ++k)
            s.message(MouseMessage::MouseMove, from + (to - from) * (k / 10.0));
        state.ResumeTiming();
        s.message(MouseMessage::LButtonUp, to);
        state.PauseTiming();
        if (plant->branches.size() != static_cast<size_t>(kFlowers) + 1)
            state.SkipWithError("the stroke grew no branch");
        else
            plant->removeBranch(plant->branches.back().composite->id);
        state.ResumeTiming();
    }
    state.counters["refreshes"] =
        benchmark::Counter(appController().mainContext()->pickFrameCount() - before,
                           benchmark::Counter::kAvgIterations);
}

// The time slider dragged across the plant's bloom: each move, from setting the
// time to the frame drawn, as the time dialog does it; against one frame at rest
// (BM_PlantFrameInPlantMode/4). Every move shows another moment, so that nothing is
// drawn from the previous frame's state. Argument: the flower heads open from the
// bud worked out from their organs (0) or from a bud modelled by hand (1), whose
// organs change shape on the way: every shape is built anew on this first pass over
// the time line.
void BM_BloomScrubMove(benchmark::State& state) {
    PlantModeSetup s;
    if (!s.ready) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    if (state.range(0) == 1) {
        AppController& controller = appController();
        const ModelRecords records{controller.ids(), controller.settings().parameters};
        std::shared_ptr<const ModelledBud> bud;
        for (const auto& branch : asComposite(controller.workObject())->branches) {
            auto* head = static_cast<FlowerTorusNode*>(branch.composite->segments.back().node.get());
            if (!bud)
                bud = std::make_shared<const ModelledBud>(samples::handModelledBud(*head, records));
            head->modelledBud = bud;
        }
    }
    s.view.context.setSmoothing(4);
    s.view.redrawMainView();
    double time = 0.02;
    const int compiledBefore = s.view.context.drawingCache().compiledLists();
    for (auto _ : state) {
        appController().showBloomAt(time);
        time = time > 0.97 ? 0.02 : time + 0.013;
    }
    state.counters["lists_compiled"] =
        benchmark::Counter(s.view.context.drawingCache().compiledLists() - compiledBefore,
                           benchmark::Counter::kAvgIterations);
    appController().showBloomAt(1.0);
}

} // namespace

BENCHMARK(BM_ClonePlant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPlantSolid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DrawPlantFromDisplayList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlantFrameInPlantMode)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BloomScrubMove)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameAndPickSnapshot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BranchStrokeReleaseToPicks)->Unit(benchmark::kMillisecond)->UseRealTime();
