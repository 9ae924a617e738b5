// "Apply" in the inflorescence dialog, from the click to the redrawn main view, for
// a raceme of 50 flowers on a drawn axis, against one frame of the same view: what
// the apply costs beyond the frame is building the raceme and recording the step.
// Applying afresh starts a new undo step; applying again with a changed value while
// it is the last step rebuilds the raceme in place of that step's result.
#include "BenchViewHost.h"
#include "control/AppController.h"
#include "control/PlantArrangement.h"
#include "organs/Inflorescence.h"
#include "support/SamplePlants.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kFlowers = 50;

// A plant being edited whose axis is a stem one unit tall, and a flower head of six
// petals to place along it.
struct ArrangementSetup : ControllerOnBench {
    std::unique_ptr<FlowerTorusNode> flower;
    InflorescenceSettings raceme;
    PlantArrangement arrangement{"Make inflorescence"};

    ArrangementSetup() : ControllerOnBench(false) {
        const ModelRecords records{controller.ids(), controller.settings().parameters};
        flower = samples::flower(records);
        auto plant = std::make_unique<FlowerObjectComposite>(controller.nextId());
        const Stroke axis = samples::line({0, 0, 0}, {0, 1, 0});
        plant->appendAlongAxis(samples::stem(records), axis, {0, 0, 1});
        controller.enterCreationMode(kModeComposite);
        controller.setWorkObject(std::move(plant));
        controller.switchToMode(kModeCompositeModify);
        controller.commit(kChangeWorkObject, "Draw axis");
        raceme.flowers = kFlowers;
    }
    bool apply() {
        std::string message;
        return arrangement.apply(
            [&](FlowerObjectComposite& plant) {
                return buildInflorescence(plant, raceme, *flower, controller.settings().parameters,
                                          controller.ids());
            },
            message);
    }
};

// Each apply is timed; taking it back again (for a fresh step) is not.
void BM_ApplyRaceme(benchmark::State& state, bool revise) {
    ArrangementSetup s;
    if (!s.ready(state))
        return;
    if (revise)
        s.apply();
    int paints = 0;
    for (auto _ : state) {
        const int before = s.host.mainPaints;
        // A revision's value changes every time, as a spin box's would.
        s.raceme.pedicelLength = s.raceme.pedicelLength == 0.15 ? 0.16 : 0.15;
        const auto start = std::chrono::steady_clock::now();
        const bool applied = s.apply();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        paints += s.host.mainPaints - before;
        if (!applied) {
            state.SkipWithError("the raceme was not built");
            return;
        }
        if (!revise)
            s.controller.undo();
    }
    state.counters["main_paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
}

// The floor under the apply: one frame of the view showing the finished raceme.
void BM_RacemeFrame(benchmark::State& state) {
    ArrangementSetup s;
    if (!s.ready(state) || !s.apply())
        return;
    for (auto _ : state)
        s.host.redrawMainView();
}

} // namespace

BENCHMARK_CAPTURE(BM_ApplyRaceme, fresh_step, false)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(BM_ApplyRaceme, revision, true)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_RacemeFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
