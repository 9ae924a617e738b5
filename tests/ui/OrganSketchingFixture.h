#pragma once

// A person's road through the organ modes, in the real main window: strokes are
// Qt mouse events on the main view, the state is read through the controller and
// the pixels through the main view's context.
#include "ShellFixture.h"

#include "control/LibraryBrowser.h"
#include "control/Singleton.h"
#include "gl/TOGL.h"
#include "model/PickColour.h"
#include "modes/MouseListenerManager.h"
#include "modes/organ/MouseListenerForPetal.h"
#include "modes/organ/MouseListenerForPetalModify.h"
#include "modes/organ/MouseListenerForPistilModify.h"
#include "modes/organ/MouseListenerForStamenModify.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"
#include "support/ModelRecords.h"
#include "support/PetalSketch.h"
#include "support/ViewBackground.h"
#include "ui/CFlowerLibView.h"
#include "ui/CPelmoraView.h"
#include "ui/CommandIds.h"
#include "ui/CommandSet.h"
#include "ui/ShellPrompts.h"
#include "ui/ViewManager.h"

#include <QFileInfo>
#include <QScreen>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>
#include <sstream>
#include <vector>

using Path = std::vector<QPoint>;

// Does the node's control net equal the other net, point for point?
inline bool sameNet(const PetalControlPointManager& a, const PetalControlPointManager& b) {
    return a.points().cells() == b.points().cells();
}

inline double largestLift(const PetalControlPointManager& net) {
    double largest = 0.0;
    for (const Vector3& p : net.points().cells())
        largest = std::max(largest, std::abs(p.z));
    return largest;
}

// Whether `colour`, at `pixel` of `window` (the main view or a window holding it),
// is the views' background at that height of the view: nothing drawn there.
template <typename Window>
inline bool showsBackgroundAt(CPelmoraView& view, Window& window, QPoint pixel,
                              const QColor& colour) {
    const int row = view.mapFromGlobal(window.mapToGlobal(pixel)).y();
    return showsBackground(colour, row, view.height());
}

// The window as the X server shows it. The GL driver puts a swapped frame on the
// server over a connection of its own, so the server's copy can lag the swap: the
// view is drawn and grabbed again until the colour at `pixel` is `settled` (without
// one: no longer the view's background), or a couple of seconds have passed.
// The window is raised each time: tests running beside this one show windows too.
template <typename Window>
inline QImage grabShowing(CPelmoraView& view, Window& window, QPoint pixel,
                          std::function<bool(const QColor&)> settled = {}) {
    if (!settled)
        settled = [&](const QColor& c) { return !showsBackgroundAt(view, window, pixel, c); };
    QImage shown;
    for (int attempt = 0; attempt < 100; ++attempt) {
        window.raise();
        view.renderNow();
        QTest::qWait(20);
        shown = window.screen()->grabWindow(window.winId()).toImage();
        if (shown.isNull() || settled(shown.pixelColor(pixel)))
            break;
    }
    return shown;
}

// With PELMORA_SCREENSHOT set, the picture is written there: the README's pictures
// are taken this way.
inline void saveScreenshotIfAsked(const QImage& picture) {
    if (const QByteArray path = qgetenv("PELMORA_SCREENSHOT"); !path.isEmpty()) {
        EXPECT_TRUE(picture.save(QString::fromLocal8Bit(path)));
    }
}

class OrganSketchingFixture : public ShellFixture {
protected:
    void SetUp() override {
        start();
        view = frame->mainView();
        frame->document().reportFailure = [this](const QString& message) {
            failures.push_back(message);
        };
    }

    AppController& controller() { return appController(); }
    // The controller's ids and parameters, which objects a test adds to its model
    // are built with.
    ModelRecords records() { return {controller().ids(), controller().settings().parameters}; }
    TOGL& gl() { return *viewManager().mainContext(); }
    // A command that moves the focus flies the camera: the test looks once it landed.
    void run(int id) {
        frame->commands().run(id);
        waitForLanding();
    }
    // Waits until a camera flight under way has landed: the camera, the picture and
    // the picks are those of its target. A flight paints every one of its steps, which
    // in a scene under the sanitizers on a busy machine can take longer than the
    // default wait.
    void waitForLanding() {
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return !controller().cameraFlying(); }, 60000));
    }
    template <typename T> T* work() { return dynamic_cast<T*>(controller().workObject()); }

    // The window pixel (logical coordinates) a world point is seen at.
    QPoint pixelOf(const Vector3& p) {
        const WindowPixel pixel = windowPixelOf(gl().viewTransform(), p);
        return QPoint(pixel.x, pixel.y);
    }
    Path pixelsOf(const std::vector<Vector3>& points) {
        Path path;
        for (const Vector3& p : points)
            path.push_back(pixelOf(p));
        return path;
    }

    // A left drag: pressed at the first pixel, one move to each following pixel,
    // released at the last.
    void drag(const Path& path) {
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, path.front());
        for (size_t i = 1; i < path.size(); ++i)
            QTest::mouseMove(view, path[i]);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, path.back());
    }
    void drag(const std::vector<Vector3>& points) { drag(pixelsOf(points)); }
    void click(const QPoint& at) {
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
    }

    FlowerPetalNode* drawPetal() {
        run(kCmdPetalCreation);
        drag(outline(-1.0, 0.3));
        drag(straightLine({0.0, 0.02, 0.0}, {0.0, 0.95, 0.0}, 30));
        drag(outline(1.0, 0.3));
        return work<FlowerPetalNode>();
    }

    // Puts the object into the library, shows its category through the Library
    // command and clicks its tile.
    int addAndSelect(std::unique_ptr<FlowerObjectNode> object, int category) {
        const int id = object->id;
        controller().addToLibrary(std::move(object), category);
        controller().commit();
        constexpr int kShow[kCategoryCount] = {kCmdSceneLibrary, kCmdPrimitiveLibrary,
                                               kCmdLeafLibrary, kCmdFlowerLibrary,
                                               kCmdCompositeLibrary};
        run(kShow[category]);
        const LibraryBrowser& browser = libraryBrowser();
        for (int position = 1; position < browser.entryCount(category); ++position)
            if (browser.idAt(position, category) == id)
                clickTile(position);
        return id;
    }

    // The library view's tile at a position of the shown category: its centre, and a
    // click there (press and release on the spot), which selects it.
    static QPoint tileCentre(int position) {
        return {41 + 76 * (position / 4), 41 + 76 * (position % 4)};
    }
    void clickTile(int position) {
        QTest::mouseClick(frame->libraryView(), Qt::LeftButton, Qt::NoModifier,
                          tileCentre(position));
    }

    // What the pick snapshot shows under a pixel.
    std::optional<PickRecord> pickAt(const QPoint& at) {
        const PickPixel pixel = gl().pixelHasObject(at.x(), at.y());
        if (!pixel.found)
            return std::nullopt;
        return decodePickColour(pixel.colour, &gl().pickKeys());
    }

    // The shell's file questions answered without a dialog: the next OBJ export
    // writes to `path`, the next library saved under a new name goes to `path`.
    void exportObjTo(const QString& path) {
        shellPrompts().chooseObjExport = [path] { return ShellPrompts::ObjExportChoice{path}; };
    }
    void saveLibraryAs(const QString& path) {
        shellPrompts().chooseSaveFile = [path](const QString&, const QString&, const QString&) {
            return path;
        };
    }
    QString pathOf(const std::string& name) {
        return QString::fromStdString(dir.path(name).string());
    }

    CPelmoraView* view = nullptr;
    QStringList failures;
};
