// Undo and redo of one step on the plant of 50 flowers and on a scene of 20 such
// plants, from the command to the redrawn view (the picks are only marked stale),
// against two frames of the same view; and the memory 100 steps of petal bends on
// the plant hold.
#include "BenchViewHost.h"
#include "model/SceneRoot.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerTorusNode.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

namespace {

constexpr int kFlowers = 50;
constexpr int kScenePlants = 20;

// The plant as the stored work object, or a scene of plants open with the first
// plant in focus, where a person edits it.
void setUpModel(bool scene) {
    AppController& controller = appController();
    if (scene) {
        auto root = std::make_unique<SceneRoot>(controller.nextId());
        for (int i = 0; i < kScenePlants; ++i) {
            Matrix4 place;
            place.setTranslation({(i % 5) * 2.0 - 4.0, 0.0, (i / 5) * -2.0});
            root->plants.push_back(
                {samples::plant({controller.ids(), controller.settings().parameters}, kFlowers),
                 place});
        }
        controller.openScene(std::move(root));
        controller.switchToMode(kModeSceneSketch);
        controller.focusDown(controller.root()->plants.front().composite->id, false);
    } else {
        controller.setWorkObject(
            samples::plant({controller.ids(), controller.settings().parameters}, kFlowers));
        controller.switchToMode(kModeCompositeModify);
    }
    controller.restartHistory();
    controller.commit();
}

// One step: the first petal of the first flower bent a little further.
FlowerPetalNode* firstPetal(FlowerObjectNode& node) {
    if (auto* petal = dynamic_cast<FlowerPetalNode*>(&node))
        return petal;
    if (auto* composite = asComposite(&node)) {
        for (const auto& part : composite->segments)
            if (FlowerPetalNode* petal = firstPetal(*part.node))
                return petal;
        for (const auto& branch : composite->branches)
            if (FlowerPetalNode* petal = firstPetal(*branch.composite))
                return petal;
    }
    if (node.kind == kKindTorus) {
        FlowerPetalNode* found = nullptr;
        forEachSlot(static_cast<FlowerTorusNode&>(node), [&](FlowerPart& slot) {
            if (!found && slot.object)
                found = firstPetal(*slot.object);
        });
        return found;
    }
    return nullptr;
}

void bendStep(bool scene) {
    AppController& controller = appController();
    FlowerObjectNode* target =
        scene ? controller.root()->plants.front().composite.get() : controller.workObject();
    if (FlowerPetalNode* petal = firstPetal(*target)) {
        PetalControlPointManager& net = petal->controlPoints();
        Vector3 tip = net.pointAt(net.tipRow(), net.midribColumn());
        tip.z += 0.001;
        net.setPointAt(net.tipRow(), net.midribColumn(), tip);
        petal->refreshShape();
    }
    controller.commit(scene ? kChangeScene : kChangeWorkObject, "Bend petal");
}

// The controller on a windowless view with the model set up; everything is
// emptied again and the view withdrawn when the benchmark ends.
struct UndoSetup {
    BenchViewHost host{false};
    AppController& controller = appController();

    UndoSetup(benchmark::State& state, bool scene) {
        if (!host.ready()) {
            state.SkipWithError("no OpenGL context");
            return;
        }
        controller.setViewHost(&host);
        mouseListenerManager();
        setUpModel(scene);
    }
    ~UndoSetup() {
        controller.resetAll();
        controller.commit();
        controller.setViewHost(nullptr);
    }
};

void BM_UndoRedo(benchmark::State& state, bool scene) {
    UndoSetup setup(state, scene);
    if (!setup.host.ready())
        return;
    bendStep(scene);
    const int picksBefore = setup.controller.mainContext()->pickFrameCount();
    for (auto _ : state) {
        setup.controller.undo();
        setup.controller.redo();
    }
    state.counters["picks_per_undo"] =
        benchmark::Counter((setup.controller.mainContext()->pickFrameCount() - picksBefore) / 2.0,
                           benchmark::Counter::kAvgIterations);
}

// What an undo and a redo cannot avoid: the view painted twice.
void BM_UndoTwoFrames(benchmark::State& state, bool scene) {
    UndoSetup setup(state, scene);
    if (!setup.host.ready())
        return;
    for (auto _ : state)
        for (int i = 0; i < 2; ++i)
            setup.host.redrawMainView();
}

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// The resident memory 100 steps add, against the history's own estimate.
void BM_HundredBendsHeld(benchmark::State& state) {
    AppController& controller = appController();
    for (auto _ : state) {
        setUpModel(false);
        const long before = residentBytes();
        for (int i = 0; i < 100; ++i)
            bendStep(false);
        state.counters["resident_MB"] = (residentBytes() - before) / 1048576.0;
        state.counters["estimate_MB"] = controller.history().bytes() / 1048576.0;
        state.counters["steps"] = static_cast<double>(controller.history().steps());
        controller.resetAll();
        controller.commit();
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_UndoRedo, plant, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_UndoTwoFrames, plant, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_UndoRedo, scene, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_UndoTwoFrames, scene, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_HundredBendsHeld)->Unit(benchmark::kMillisecond)->Iterations(1);
