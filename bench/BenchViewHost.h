#pragma once

#include "control/AppController.h"
#include "control/LibraryViewPainter.h"
#include "control/ViewHost.h"
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "modes/MouseListenerManager.h"

#include <benchmark/benchmark.h>

// The main view as a windowless context of the main window's size, whose repaint
// renders one real frame as the main view paints it; the library and overall
// windows only count their repaints.
class BenchViewHost final : public ViewHost {
public:
    explicit BenchViewHost(bool backdrop) : backdrop_(backdrop) {
        main_.setHomeCamera(kMainViewHomeCamera);
        ready_ = main_.attachWindowless();
        if (ready_)
            main_.resize(1000, 800, false);
    }

    bool ready() const { return ready_; }

    void redrawMainView() override {
        ++mainPaints;
        main_.beginFrame();
        const DrawContext draw = main_.frameContext(appController().drawRecords());
        // The main view's picture starts the frame with its background.
        appController().drawMainView(draw);
        if (backdrop_) {
            placeFrameLights();
            appController().sceneFocus().drawScene(draw, false, false);
        }
        mouseListenerManager().drawMainOverlay(draw);
        main_.endFrame();
    }
    void redrawOverallView() override { ++overallPaints; }
    void redrawLibraryView() override {
        ++libraryPaints;
        if (paintLibrary)
            libraryViewPainter().paint(kLibraryWidth, kLibraryHeight);
    }
    TOGL* mainContext() override { return &main_; }
    TOGL* overallContext() override { return nullptr; }

    // The library view's size in the main window at its first start.
    static constexpr int kLibraryWidth = 200;
    static constexpr int kLibraryHeight = 800;
    // Whether a library repaint really paints the library view off-screen.
    bool paintLibrary = false;
    int mainPaints = 0;
    int overallPaints = 0;
    int libraryPaints = 0;

private:
    TOGL main_;
    bool backdrop_;
    bool ready_ = false;
};

// The controller and its modes working on a bench view host; when the benchmark
// ends the controller leaves for a creation mode and the host is withdrawn.
struct ControllerOnBench {
    AppController& controller = appController();
    BenchViewHost host;

    explicit ControllerOnBench(bool backdrop) : host(backdrop) {
        controller.setViewHost(&host);
        mouseListenerManager();
    }
    ~ControllerOnBench() {
        controller.enterCreationMode(kModeComposite);
        controller.commit();
        controller.setViewHost(nullptr);
    }
    ControllerOnBench(const ControllerOnBench&) = delete;
    ControllerOnBench& operator=(const ControllerOnBench&) = delete;

    // False, with the benchmark failed, when there is no GL context to draw into.
    bool ready(benchmark::State& state) const {
        if (!host.ready())
            state.SkipWithError("no OpenGL context");
        return host.ready();
    }
};
