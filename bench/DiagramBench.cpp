// The floral diagram in the library view: one paint with a bound flower whose
// whorls hold 1000 organs, against a paint of the empty diagram; and a count raised
// by 100 in the dialog, from the change to the redrawn views.
#include "BenchViewHost.h"
#include "control/FloralDiagram.h"
#include "organs/FlowerTorusNode.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

namespace {

constexpr int kOrgansPerWhorl = 250;

// A flower head made the work object, with the diagram bound to it.
FlowerTorusNode& boundFlower(int organsPerWhorl) {
    AppController& controller = appController();
    controller.setWorkObject(std::make_unique<FlowerTorusNode>(
        controller.nextId(), controller.settings().parameters.receptacle));
    auto& flower = static_cast<FlowerTorusNode&>(*controller.workObject());
    FloralDiagram& diagram = floralDiagram();
    diagram.setLookup(
        [](int id) { return dynamic_cast<FlowerTorusNode*>(appController().findObject(id)); });
    diagram.bind(&flower);
    for (int whorl : kWhorlsInsideOut)
        diagram.addOrgans(organsPerWhorl, whorl);
    diagram.arrange();
    return flower;
}

void paintDiagram(benchmark::State& state, int organsPerWhorl) {
    if (organsPerWhorl > 0)
        boundFlower(organsPerWhorl);
    else
        floralDiagram().unbind();
    QImage view(BenchViewHost::kLibraryWidth, BenchViewHost::kLibraryHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        view.fill(Qt::white);
        QPainter painter(&view);
        floralDiagram().paint(painter, 0, 317, view.width(), view.height());
    }
    state.counters["organs"] = 4 * organsPerWhorl;
}

void BM_DiagramPaintEmpty(benchmark::State& state) {
    paintDiagram(state, 0);
}

void BM_DiagramPaint1000Organs(benchmark::State& state) {
    paintDiagram(state, kOrgansPerWhorl);
}

// What the dialog does for a count raised by 100: the organs are added and the
// commit repaints the main view (the flower), the library view (thumbnails and
// diagram) and refreshes the picks. The organs are taken away again untimed.
void BM_CountRaisedBy100(benchmark::State& state) {
    BenchViewHost host(false);
    if (!host.ready()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    host.paintLibrary = true;
    AppController& controller = appController();
    controller.setViewHost(&host);
    boundFlower(6);
    controller.commit(kChangeWorkObject);
    for (auto _ : state) {
        floralDiagram().addOrgans(100, kWhorlPetal);
        controller.commit(kChangeWorkObject | kChangeLibraryView, "Change organ count");
        state.PauseTiming();
        floralDiagram().removeOrgans(100, kWhorlPetal);
        controller.commit(kChangeWorkObject);
        state.ResumeTiming();
    }
    controller.setWorkObject(nullptr);
    controller.commit();
    controller.setViewHost(nullptr);
}

} // namespace

BENCHMARK(BM_DiagramPaintEmpty)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiagramPaint1000Organs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountRaisedBy100)->Unit(benchmark::kMillisecond);
