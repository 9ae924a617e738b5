// A scene of 20 plants of 50 flowers each, as the scene modes show it: a frame of
// the main view with the whole scene (mode 0) at reduced detail against the same
// frame in full detail and the same without the floor and the plants' shadows, its
// resident memory and the share of its pixels that differ, the same at 100 plants;
// a frame with the focus on one flower's branch and
// the scene around it translucent (mode 1), a click on a far flower after a commit
// (the picks it needs rendered on demand), and a frame of the overall window; each
// against the scene's triangles replayed from one display list in the same run.
// Editing in place: a bend stroke's release on a focused petal, and an undo and redo
// of a scene edit, against a frame of the same view, and a move of a whorl's
// control-point drag on a focused flower head against a frame of the same view.
#include "control/AppController.h"
#include "control/ControlSingletons.h"
#include "control/FloralDiagram.h"
#include "control/ViewHost.h"
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "modes/ControlPointDrag.h"
#include "modes/ModeSingletons.h"
#include "modes/MouseListenerManager.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerTorusNode.h"
#include "support/FrameDifference.h"
#include "support/PetalSketch.h"
#include "support/SamplePlants.h"

#include <QCoreApplication>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace {

constexpr int kPlants = 20;
constexpr int kFlowers = 50;

// The process's resident memory in MiB (VmRSS), 0 where /proc does not tell.
double residentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}

// The main view and the overall window without windows, each painted as its view
// paints itself into the off-screen frame of a windowless context.
class WindowlessViews final : public ViewHost {
public:
    TOGL main;
    TOGL overall;
    // Like the program's overall window, which paints nothing while it is hidden.
    bool overallShown = true;

    void redrawMainView() override {
        main.beginFrame();
        const DrawContext draw = main.frameContext(appController().drawRecords());
        appController().drawMainView(draw);
        mouseListenerManager().drawMainOverlay(draw);
        main.endFrame();
    }
    void redrawOverallView() override {
        if (!overallShown)
            return;
        overall.beginFrame();
        const DrawContext draw = overall.frameContext(appController().drawRecords());
        appController().drawOverall(draw);
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

    explicit SceneSetup(int plants = kPlants) {
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
        for (int i = 0; i < plants; ++i) {
            const Vector3 at{-4.0 + 2.0 * (i % 5), 0.0, -2.0 * (i / 5)};
            controller.root()->plantAlongStroke(
                samples::plant({controller.ids(), controller.settings().parameters}, kFlowers),
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
        const FlowerObjectComposite& plant = *controller.root()->plants.front().composite;
        controller.focusDown(plant.id, false);
        controller.focusDown(plant.branches.front().composite->id, false);
        controller.commit();
    }

    // The focus on the first flower's head, seen close up (mode 3).
    FlowerTorusNode* focusOnAFlowerHead() {
        focusOnAFlower();
        AppController& controller = appController();
        const auto* branch = asComposite(controller.focus());
        if (!branch || branch->segments.size() < 2)
            return nullptr;
        controller.focusDown(branch->segments.back().node->id, false);
        controller.commit();
        auto* head = dynamic_cast<FlowerTorusNode*>(controller.focus());
        if (head)
            frameFocus();
        return head;
    }
    // The focus on a petal of the first flower's head, seen close up (mode 5).
    FlowerPetalNode* focusOnAPetal() {
        FlowerTorusNode* head = focusOnAFlowerHead();
        if (!head || head->whorl(kWhorlPetal).parts.empty() ||
            !head->whorl(kWhorlPetal).parts.front()->object)
            return nullptr;
        appController().focusDown(head->whorl(kWhorlPetal).parts.front()->object->id, false);
        appController().commit();
        frameFocus();
        return dynamic_cast<FlowerPetalNode*>(appController().focus());
    }
    void frameFocus() {
        Matrix4 matrix;
        if (const FlowerObjectNode* focus = appController().sceneFocus().focusWithMatrix(matrix)) {
            const CameraPose pose = SceneFocusManager::framingCamera(*focus, matrix);
            views.main.setCamera(pose.eye, pose.center, pose.up);
        }
        appController().commit(kChangeMainView);
    }
    WindowPixel pixelOf(const Vector3& p) { return windowPixelOf(views.main.viewTransform(), p); }
    static void send(MouseMessage message, const WindowPixel& at) {
        mouseListenerManager().mainViewMessage(message, at.x, at.y);
    }
};

// Runs the event loop until the overall window's repaint that the last commit
// scheduled is done, as the program's event loop does after a commit; the seconds
// it took, the wait for the repaint interval left out.
double paintOverallWhenDue() {
    double painting = 0.0;
    while (appController().overallRepaintDue()) {
        const auto start = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        if (!appController().overallRepaintDue())
            painting = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        else
            QThread::msleep(1);
    }
    return painting;
}

// Whether the contexts came up; the benchmark is skipped when they did not.
bool ready(benchmark::State& state, const SceneSetup& s) {
    if (!s.ready)
        state.SkipWithError("no OpenGL context");
    return s.ready;
}

// Whether the focus went to a petal of the first flower, seen close up; the benchmark
// is skipped when it did not.
bool petalInFocus(benchmark::State& state, SceneSetup& s) {
    if (s.focusOnAPetal())
        return true;
    state.SkipWithError("no petal in focus");
    return false;
}

// Arguments: the number of plants, 1 for reduced detail or 0 for full detail (the
// baseline), the samples per pixel that smooth the edges (4 as a view at rest asks
// for, 1 none), and 1 with the floor and the plants' shadows on it or 0 without.
// Resident memory is reported after the frames.
void BM_SceneFrameMode0(benchmark::State& state) {
    SceneSetup s(static_cast<int>(state.range(0)));
    if (!ready(state, s))
        return;
    appController().settings().fullDetail = state.range(1) == 0;
    s.views.main.setSmoothing(static_cast<int>(state.range(2)));
    appController().settings().showFloor = state.range(3) != 0;
    for (auto _ : state)
        s.views.redrawMainView();
    state.counters["rss_MiB"] = residentMiB();
}

// The share of the whole-scene frame's pixels (in percent) that reduced detail
// changes by more than 16 in some channel.
void BM_SceneFrameMode0PixelDifference(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    double percent = 0.0;
    for (auto _ : state) {
        appController().settings().fullDetail = true;
        s.views.redrawMainView();
        const QImage full = s.views.main.frameImage();
        appController().settings().fullDetail = false;
        s.views.redrawMainView();
        const QImage reduced = s.views.main.frameImage();
        percent = 100.0 * differingPixels(full, reduced) / std::max(1, full.width() * full.height());
    }
    state.counters["differing_pct"] = percent;
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

// A click on a petal of the farthest plant's first flower right after a commit
// (untimed: the frame), from the press to the part it finds: the picks around the
// pixel rendered on demand and decoded.
void BM_SceneClickFindsItsPart(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    AppController& controller = appController();
    const FlowerObjectComposite& far = *controller.root()->plants.back().composite;
    const auto* branch = far.branches.front().composite.get();
    const auto* head = dynamic_cast<const FlowerTorusNode*>(branch->segments.back().node.get());
    const Matrix4 headMatrix = controller.root()->findInScene(head->id).matrix;
    const auto& slot = *head->whorl(kWhorlPetal).parts.front();
    const auto& net = static_cast<const FlowerPetalNode&>(*slot.object).controlPoints();
    const WindowPixel at = s.pixelOf(
        transformPoint(headMatrix * slot.organMatrix(), net.midribPoint(net.tipRow() / 2)));
    bool found = true;
    for (auto _ : state) {
        controller.commit(kChangeMainView);
        const auto start = std::chrono::steady_clock::now();
        const auto picked = pickUnder(at.x, at.y);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        found = found && picked && picked->record.id > 0;
    }
    if (!found)
        state.SkipWithError("the click found no part");
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
    DrawContext records = appController().drawRecords();
    records.fullDetail = true;
    glNewList(list, GL_COMPILE);
    appController().root()->drawSolid(gl.frameContext(records));
    glEndList();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCallList(list);
        glFinish();
    }
    glDeleteLists(list, 1);
    gl.endFrame();
}

// From a bend stroke's release on a focused petal (base to tip, bowed sideways) to
// the end of its commit: the bend, one frame of the main view and the undo step.
// The overall window's repaint follows from the event loop once the release is
// handled; `overall_ms` is its time, outside the release's. The press and the moves
// are untimed. The argument says whether the overall window is shown.
void BM_SceneBendReleaseOnPetal(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    s.views.overallShown = state.range(0) != 0;
    FlowerPetalNode* petal = s.focusOnAPetal();
    if (!petal) {
        state.SkipWithError("no petal in focus");
        return;
    }
    appController().settings().drawingTool = kToolPen;
    paintOverallWhenDue();
    double overall = 0.0;
    for (auto _ : state) {
        Matrix4 matrix;
        appController().sceneFocus().focusWithMatrix(matrix);
        const PetalControlPointManager& net = petal->controlPoints();
        const Vector3 base = transformPoint(matrix, net.midribPoint(0));
        const Vector3 tip = transformPoint(matrix, net.midribPoint(net.tipRow()));
        const Vector3 across = transformPoint(matrix, net.pointAt(net.tipRow() / 2, 0)) -
                               transformPoint(matrix, net.midribPoint(net.tipRow() / 2));
        SceneSetup::send(MouseMessage::LButtonDown, s.pixelOf(base));
        for (int i = 1; i <= 10; ++i) {
            const double t = i / 10.0;
            SceneSetup::send(MouseMessage::MouseMove,
                             s.pixelOf(base + (tip - base) * t + across * (0.3 * std::sin(3.14159 * t))));
        }
        const auto start = std::chrono::steady_clock::now();
        SceneSetup::send(MouseMessage::LButtonUp, s.pixelOf(tip));
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        overall += paintOverallWhenDue();
    }
    state.counters["overall_ms"] = 1000.0 * overall / std::max<double>(1.0, static_cast<double>(state.iterations()));
    if (appController().lastStep() != "Bend petal")
        state.SkipWithError("the stroke bent nothing");
}

// The floor under the release, a frame of the same view (`changes` the main view),
// and what an edit of the open scene in a run of edits costs at its commit with the
// same view, the edit itself left out (`changes` the scene): the frame, the scene's
// undo step and the overall window's frame whenever the event loop finds it due.
void BM_SceneCommitOnPetal(benchmark::State& state, unsigned changes) {
    SceneSetup s;
    if (!ready(state, s) || !petalInFocus(state, s))
        return;
    for (auto _ : state) {
        appController().commit(changes, changes == kChangeMainView ? "" : "Edit scene");
        QCoreApplication::processEvents();
    }
}

// An edit of the plant in focus (a petal of its first flower, seen close up) taken
// back and made again, as fast as the keys repeat: the plant rebuilt from its undo
// record, the main view repainted each time, and the overall window whenever the
// event loop finds its repaint due (at most every 250 ms); the other plants stay as
// they are.
void BM_SceneUndoRedoOfAnEdit(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s) || !petalInFocus(state, s))
        return;
    AppController& controller = appController();
    controller.commit(kChangeScene, "Edit scene");
    for (auto _ : state) {
        controller.undo();
        controller.redo();
        QCoreApplication::processEvents();
    }
}

// From a move of a whorl's control-point drag on a focused flower head to the
// redrawn frame: the point moved in every petal of the flower and one frame.
void BM_SceneWhorlPointDragMove(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    FlowerTorusNode* head = s.focusOnAFlowerHead();
    if (!head || head->whorl(kWhorlPetal).parts.empty() ||
        !head->whorl(kWhorlPetal).parts.front()->object) {
        state.SkipWithError("no flower head in focus");
        return;
    }
    AppController& controller = appController();
    for (const auto& slot : head->whorl(kWhorlPetal).parts)
        floralDiagram().selection().toggleSelected(head->id, {kWhorlPetal, slot->index});
    controller.settings().showControlPoints = true;
    controller.settings().drawingTool = kToolCursor;
    controller.commit(kChangeMainView);
    Matrix4 matrix;
    controller.sceneFocus().focusWithMatrix(matrix);
    // A control point of a petal's edge that the pick snapshot shows.
    std::optional<WindowPixel> found;
    for (const auto& slot : head->whorl(kWhorlPetal).parts) {
        const auto& net = static_cast<const FlowerPetalNode&>(*slot->object).controlPoints();
        for (int column : {0, net.lastColumn()}) {
            const WindowPixel at = s.pixelOf(
                transformPoint(matrix * slot->organMatrix(), net.pointAt(net.tipRow() / 2, column)));
            const PickPixel pixel = s.views.main.pixelHasObject(at.x, at.y);
            if (!found && pixel.found && decodePickColour(pixel.colour, &s.views.main.pickKeys()).twoIndexPart)
                found = at;
        }
    }
    if (!found) {
        state.SkipWithError("no control point in sight");
        return;
    }
    const WindowPixel at = *found;
    SceneSetup::send(MouseMessage::LButtonDown, at);
    int step = 0;
    for (auto _ : state) {
        step = 1 - step;
        SceneSetup::send(MouseMessage::MouseMove, {at.x + 1 + step, at.y - 1 - step});
    }
    SceneSetup::send(MouseMessage::LButtonUp, at);
    if (controller.lastStep() != "Move control point")
        state.SkipWithError("the press held no control point");
}

// The floor under the move: one frame of the same view.
void BM_SceneFrameOnFlowerHead(benchmark::State& state) {
    SceneSetup s;
    if (!ready(state, s))
        return;
    if (!s.focusOnAFlowerHead()) {
        state.SkipWithError("no flower head in focus");
        return;
    }
    for (auto _ : state)
        s.views.redrawMainView();
}

} // namespace

BENCHMARK(BM_SceneBendReleaseOnPetal)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_SceneCommitOnPetal, frame, kChangeMainView)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SceneCommitOnPetal, scene_edit, kChangeScene)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SceneWhorlPointDragMove)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneFrameOnFlowerHead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneFrameMode0)
    ->Args({kPlants, 0, 1, 1})
    ->Args({kPlants, 1, 1, 0})
    ->Args({kPlants, 1, 1, 1})
    ->Args({kPlants, 1, 4, 1})
    ->Args({100, 1, 1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SceneFrameMode0PixelDifference)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SceneFrameFocusOnFlower)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneUndoRedoOfAnEdit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneClickFindsItsPart)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SceneOverallFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SceneFromDisplayList)->Unit(benchmark::kMillisecond)->UseRealTime();
