// The release that finishes a petal, from the mouse message to its return, against
// the work its commit cannot avoid: one frame and one pick snapshot of the same view.
// What the release costs beyond those is the price of the commit point. A plant of
// 50 flowers stands in the open scene; the creation modes show only the work object,
// so a second variant paints the plant behind it to give the view something to draw.
#include "BenchViewHost.h"
#include "interaction/OpenGL.h"
#include "control/AppController.h"
#include "model/SceneRoot.h"
#include "modes/MouseListenerManager.h"
#include "organs/FlowerPetalNode.h"
#include "support/PetalSketch.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kFlowers = 50;

// The controller and its modes on the bench's view, with the plant's scene open.
struct CommitSetup : ControllerOnBench {
    explicit CommitSetup(bool backdrop) : ControllerOnBench(backdrop) {
        auto scene = std::make_unique<SceneRoot>(controller.nextId());
        scene->plants.push_back(
            {samples::plant({controller.ids(), controller.settings().parameters}, kFlowers),
             Matrix4()});
        controller.openScene(std::move(scene));
        controller.commit();
        if (host.ready())
            strokes = petalStrokes();
    }
    void send(MouseMessage message, const WindowPixel& at) {
        mouseListenerManager().mainViewMessage(message, at.x, at.y);
    }
    // A left drag through the pixels, short of its release.
    void pressAndMove(const std::vector<WindowPixel>& path) {
        send(MouseMessage::LButtonDown, path.front());
        for (size_t i = 1; i < path.size(); ++i)
            send(MouseMessage::MouseMove, path[i]);
    }
    void drag(const std::vector<WindowPixel>& path) {
        pressAndMove(path);
        send(MouseMessage::LButtonUp, path.back());
    }

    // The pixels of the petal's three strokes as the home camera sees them.
    std::vector<std::vector<WindowPixel>> petalStrokes() {
        controller.enterCreationMode(kModePetal);
        controller.commit();
        std::vector<std::vector<WindowPixel>> paths;
        for (const auto& points :
             {outline(-1.0, 0.3), straightLine({0.0, 0.02, 0.0}, {0.0, 0.95, 0.0}, 30),
              outline(1.0, 0.3)}) {
            std::vector<WindowPixel>& pixels = paths.emplace_back();
            for (const Vector3& p : points)
                pixels.push_back(windowPixelOf(host.mainContext()->viewTransform(), p));
        }
        return paths;
    }

    // The pixels of the petal's left outline, middle line and right outline.
    std::vector<std::vector<WindowPixel>> strokes;

    bool madePetal() const {
        return controller.mode() == kModePetalModify &&
               dynamic_cast<FlowerPetalNode*>(controller.workObject()) != nullptr;
    }
};

// Per creation: the petal mode is entered and the first two strokes and the third
// stroke's press and moves are drawn untimed; the third release is timed.
void BM_CommitPetalRelease(benchmark::State& state, bool backdrop) {
    CommitSetup s(backdrop);
    if (!s.ready(state))
        return;
    int mainPaints = 0;
    int libraryPaints = 0;
    int overallPaints = 0;
    int pickRefreshes = 0;
    for (auto _ : state) {
        s.controller.enterCreationMode(kModePetal);
        s.controller.commit();
        s.drag(s.strokes[0]);
        s.drag(s.strokes[1]);
        s.pressAndMove(s.strokes[2]);
        const int mainBefore = s.host.mainPaints;
        const int libraryBefore = s.host.libraryPaints;
        const int overallBefore = s.host.overallPaints;
        const int picksBefore = s.controller.mainContext()->pickFrameCount();
        const auto start = std::chrono::steady_clock::now();
        s.send(MouseMessage::LButtonUp, s.strokes[2].back());
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        mainPaints += s.host.mainPaints - mainBefore;
        libraryPaints += s.host.libraryPaints - libraryBefore;
        overallPaints += s.host.overallPaints - overallBefore;
        pickRefreshes += s.controller.mainContext()->pickFrameCount() - picksBefore;
        if (!s.madePetal()) {
            state.SkipWithError("the strokes made no petal");
            return;
        }
    }
    const auto perCreation = benchmark::Counter::kAvgIterations;
    state.counters["main_paints"] = benchmark::Counter(mainPaints, perCreation);
    state.counters["library_paints"] = benchmark::Counter(libraryPaints, perCreation);
    state.counters["overall_paints"] = benchmark::Counter(overallPaints, perCreation);
    state.counters["pick_refreshes"] = benchmark::Counter(pickRefreshes, perCreation);
}

// The floor under the release: the view holding the finished petal, painted once and
// rendered once in pick colours the way the controller's pick refresh does.
void BM_CommitFrameAndSnapshot(benchmark::State& state, bool backdrop) {
    CommitSetup s(backdrop);
    if (!s.ready(state))
        return;
    for (const auto& stroke : s.strokes)
        s.drag(stroke);
    if (!s.madePetal()) {
        state.SkipWithError("the strokes made no petal");
        return;
    }
    TOGL& context = *s.host.mainContext();
    for (auto _ : state) {
        s.host.redrawMainView();
        context.beginSnapshot();
        glDisable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glShadeModel(GL_FLAT);
        s.controller.drawMainView(context.frameContext(s.controller.drawRecords()));
        context.endFrame();
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_CommitPetalRelease, work_object, false)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_CommitFrameAndSnapshot, work_object, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CommitPetalRelease, plant_backdrop, true)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_CommitFrameAndSnapshot, plant_backdrop, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
