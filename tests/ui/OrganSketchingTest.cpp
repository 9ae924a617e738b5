// A person's road through the organ modes, in the real main window: strokes are
// Qt mouse events on the main view, the state is read through the controller and
// the pixels through the main view's context.
#include "ShellFixture.h"

#include "app/LibraryBrowser.h"
#include "app/MouseListenerForPetal.h"
#include "app/MouseListenerForPetalModify.h"
#include "app/MouseListenerForPistilModify.h"
#include "app/MouseListenerForStamenModify.h"
#include "app/MouseListenerManager.h"
#include "app/Singleton.h"
#include "app/TOGL.h"
#include "model/PickColour.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"
#include "ui/CPelmoraView.h"
#include "ui/CommandIds.h"
#include "ui/CommandSet.h"
#include "ui/ViewManager.h"

#include <QFileDialog>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <vector>

namespace {

using Path = std::vector<QPoint>;

// Petal outlines in the drawing plane: from just beside the base to just beyond
// the tip, bulging `width` out to one side, so that the two outlines cross near
// both ends.
std::vector<Vector3> outline(double side, double width) {
    std::vector<Vector3> points;
    for (int k = 0; k <= 40; ++k) {
        const double t = k / 40.0;
        const double bulge = std::pow(std::sin(std::numbers::pi * t), 0.7);
        points.push_back({side * (width * bulge - 0.02), -0.03 + 1.06 * t, 0.0});
    }
    return points;
}

std::vector<Vector3> straightLine(const Vector3& from, const Vector3& to, int points) {
    std::vector<Vector3> line;
    for (int k = 0; k < points; ++k)
        line.push_back(from + (to - from) * (k / double(points - 1)));
    return line;
}

// Does the node's control net equal the other net, point for point?
bool sameNet(const PetalControlPointManager& a, const PetalControlPointManager& b) {
    return a.points().cells() == b.points().cells();
}

double largestLift(const PetalControlPointManager& net) {
    double largest = 0.0;
    for (const Vector3& p : net.points().cells())
        largest = std::max(largest, std::abs(p.z));
    return largest;
}

} // namespace

class OrganSketchingTest : public ShellFixture {
protected:
    void SetUp() override {
        start();
        view = frame->mainView();
        frame->document().reportFailure = [this](const QString& message) {
            failures.push_back(message);
        };
    }

    AppController& controller() { return appController(); }
    TOGL& gl() { return *viewManager().mainContext(); }
    void run(int id) { frame->commands().run(id); }
    template <typename T> T* work() { return dynamic_cast<T*>(controller().workObject()); }

    // The window pixel (logical coordinates) a world point is seen at.
    QPoint pixelOf(const Vector3& p) {
        const ViewTransform& view = gl().viewTransform();
        const Matrix4 m = view.projection * view.modelView;
        double clip[4];
        for (int r = 0; r < 4; ++r)
            clip[r] = m.at(r, 0) * p.x + m.at(r, 1) * p.y + m.at(r, 2) * p.z + m.at(r, 3);
        const double x = (clip[0] / clip[3] + 1.0) / 2.0 * view.viewport.width;
        const double y =
            view.viewport.height - (clip[1] / clip[3] + 1.0) / 2.0 * view.viewport.height;
        return QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
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

    // What the pick snapshot shows under a pixel.
    std::optional<PickRecord> pickAt(const QPoint& at) {
        const PickPixel pixel = gl().pixelHasObject(at.x(), at.y());
        if (!pixel.found)
            return std::nullopt;
        return decodePickColour(pixel.colour);
    }

    // The next file dialog that opens is answered with `path`.
    void answerNextFileDialog(const QString& path) {
        auto* poll = new QTimer(frame.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
            poll->deleteLater();
        });
        poll->start(20);
    }
    QString pathOf(const std::string& name) {
        return QString::fromStdString(dir.path(name).string());
    }

    CPelmoraView* view = nullptr;
    QStringList failures;
};

TEST_F(OrganSketchingTest, ThreeStrokesMakeAPetalThatShowsInTheView) {
    run(kCmdPetalCreation);
    const CameraPose home = gl().camera().pose();
    auto& petalMode = singleton<MouseListenerForPetal>();

    drag(outline(-1.0, 0.3));
    EXPECT_EQ(petalMode.finishedStrokes(), 1);
    // The first stroke survives a trip to another mode.
    run(kCmdStamenCreation);
    run(kCmdPetalCreation);
    EXPECT_EQ(petalMode.finishedStrokes(), 1);
    EXPECT_EQ(petalMode.strokes()[0].size(), 41);

    // Holding the right button suspends drawing and does not move the camera.
    const Path midrib = pixelsOf(straightLine({0.0, 0.02, 0.0}, {0.0, 0.95, 0.0}, 30));
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, midrib[0]);
    for (int i = 1; i < 10; ++i)
        QTest::mouseMove(view, midrib[i]);
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, midrib[9]);
    QTest::mouseMove(view, midrib[9] + QPoint(40, 0));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, midrib[9] + QPoint(40, 0));
    EXPECT_EQ(petalMode.strokes()[1].size(), 10);
    for (size_t i = 10; i < midrib.size(); ++i)
        QTest::mouseMove(view, midrib[i]);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, midrib.back());
    EXPECT_EQ(petalMode.strokes()[1].size(), 30);
    EXPECT_EQ(gl().camera().eye, home.eye);
    EXPECT_EQ(controller().workObject(), nullptr);

    drag(outline(1.0, 0.3));
    auto* petal = work<FlowerPetalNode>();
    ASSERT_NE(petal, nullptr);
    EXPECT_EQ(controller().mode, kModePetalModify);
    EXPECT_EQ(&mouseListenerManager().mainListener(),
              static_cast<MouseListenerState*>(&singleton<MouseListenerForPetalModify>()));
    EXPECT_EQ(petalMode.finishedStrokes(), 0);
    for (const Stroke& stroke : petalMode.strokes())
        EXPECT_TRUE(stroke.empty());

    // The petal runs from the base up to the tip, and the snapshot holds it there.
    EXPECT_NEAR(petal->controlPoints().midribPoint(0).y, 0.0, 0.05);
    EXPECT_NEAR(petal->controlPoints().midribPoint(petal->controlPoints().tipRow()).y, 1.0, 0.08);
    const auto picked = pickAt(pixelOf({0.05, 0.5, 0.0}));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->id, petal->id);

    // And the window shows it in colour: the pixels at the petal's middle are not
    // the white background.
    view->renderNow();
    const QImage shown = view->screen()->grabWindow(view->winId()).toImage();
    ASSERT_FALSE(shown.isNull());
    const QColor middle = shown.pixelColor(pixelOf({0.05, 0.5, 0.0}));
    EXPECT_NE(middle, QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::white));
}

TEST_F(OrganSketchingTest, OutlinesThatDoNotCrossTwiceMakeNothing) {
    run(kCmdPetalCreation);
    // Side by side, even once their ends are drawn out.
    drag(straightLine({-0.2, 0.0, 0.0}, {-0.2, 1.0, 0.0}, 30));
    drag(straightLine({0.0, 0.02, 0.0}, {0.0, 0.95, 0.0}, 30));
    drag(straightLine({0.2, 0.0, 0.0}, {0.2, 1.0, 0.0}, 30));
    EXPECT_EQ(controller().workObject(), nullptr);
    EXPECT_EQ(controller().mode, kModePetal);
    auto& petalMode = singleton<MouseListenerForPetal>();
    EXPECT_EQ(petalMode.finishedStrokes(), 0);
    for (const Stroke& stroke : petalMode.strokes())
        EXPECT_TRUE(stroke.empty());
}

TEST_F(OrganSketchingTest, StamenNeedsFourPointsAndStartsAtTheOrigin) {
    run(kCmdStamenCreation);
    const std::vector<Vector3> filament = straightLine({0.1, 0.2, 0.0}, {0.15, 0.9, 0.0}, 4);
    drag(std::vector<Vector3>(filament.begin(), filament.begin() + 3));
    EXPECT_EQ(controller().workObject(), nullptr);
    EXPECT_EQ(controller().mode, kModeStamen);

    // The right button does not move the camera in a creation mode.
    const Vector3 eye = gl().camera().eye;
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(view, QPoint(200, 150));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, QPoint(200, 150));
    EXPECT_EQ(gl().camera().eye, eye);

    drag(filament);
    auto* stamen = work<FlowerStamenNode>();
    ASSERT_NE(stamen, nullptr);
    EXPECT_EQ(controller().mode, kModeStamenModify);
    EXPECT_NEAR(stamen->mainAxis.front().length(), 0.0, 1e-12);
    EXPECT_NEAR(stamen->mainAxis.back().y, 0.7, 0.01);
}

TEST_F(OrganSketchingTest, PistilNeedsTenPointsWithTheReleasePoint) {
    run(kCmdPistilCreation);
    // Up one side and down the other: 8 drag points and the release point.
    std::vector<Vector3> outline9;
    for (int k = 0; k < 8; ++k) {
        const double a = std::numbers::pi * k / 8.0;
        outline9.push_back({-0.1 * std::cos(a), 0.6 * std::sin(a / 2 + 0.1), 0.0});
    }
    drag(outline9);
    EXPECT_EQ(controller().workObject(), nullptr);
    EXPECT_EQ(controller().mode, kModePistil);

    std::vector<Vector3> outline10;
    for (int k = 0; k < 9; ++k) {
        const double a = std::numbers::pi * k / 8.0;
        outline10.push_back({-0.1 * std::cos(a), 0.3 + 0.3 * std::sin(a), 0.0});
    }
    drag(outline10);
    ASSERT_NE(work<FlowerPistilNode>(), nullptr);
    EXPECT_EQ(controller().mode, kModePistilModify);
    EXPECT_EQ(work<FlowerPistilNode>()->m_basicCurve.size() > 0, true);
}

TEST_F(OrganSketchingTest, APressBesideTheControlPointsDrawsOnlyInTheStamenAndPistilModes) {
    run(kCmdShowControlPoints);
    ASSERT_TRUE(controller().showControlPoints);
    const QPoint empty(60, 60);

    ASSERT_NE(drawPetal(), nullptr);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_FALSE(singleton<MouseListenerForPetalModify>().drawing());
    EXPECT_FALSE(singleton<MouseListenerForPetalModify>().drag().active());
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, empty);

    run(kCmdStamenCreation);
    drag(straightLine({0.0, 0.2, 0.0}, {0.0, 0.9, 0.0}, 10));
    ASSERT_NE(work<FlowerStamenNode>(), nullptr);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_TRUE(singleton<MouseListenerForStamenModify>().drawing());
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_FALSE(singleton<MouseListenerForStamenModify>().drawing());

    run(kCmdPistilCreation);
    std::vector<Vector3> pistil;
    for (int k = 0; k <= 12; ++k) {
        const double a = std::numbers::pi * k / 12.0;
        pistil.push_back({-0.1 * std::cos(a), 0.2 + 0.5 * std::sin(a), 0.0});
    }
    drag(pistil);
    ASSERT_NE(work<FlowerPistilNode>(), nullptr);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_TRUE(singleton<MouseListenerForPistilModify>().drawing());
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, empty);
}

TEST_F(OrganSketchingTest, ADraggedControlPointReturnsWithTheMouse) {
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    run(kCmdShowControlPoints);
    // The switch shows its points from the next picture on; a click lets the picks
    // follow.
    click(QPoint(60, 60));

    PetalControlPointManager& net = petal->controlPoints();
    const int row = net.rowCount() / 2;
    const Vector3 original = net.pointAt(row, 0);
    const QPoint at = pixelOf(original);
    const auto picked = pickAt(at);
    ASSERT_TRUE(picked && picked->twoIndexPart);
    ASSERT_EQ(picked->a, row);
    ASSERT_EQ(picked->b, 0);

    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(singleton<MouseListenerForPetalModify>().drag().active());
    QTest::mouseMove(view, at + QPoint(-40, 30));
    const Vector3 moved = net.pointAt(row, 0);
    EXPECT_GT(distance(moved, original), 0.05);
    EXPECT_NEAR(moved.z, original.z, 0.05); // it stays at its window depth
    QTest::mouseMove(view, at);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_LT(distance(net.pointAt(row, 0), original), 0.01);
    EXPECT_FALSE(singleton<MouseListenerForPetalModify>().drag().active());
}

TEST_F(OrganSketchingTest, BendingStrokesLiftThePetalOnlyFromItsEdge) {
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    PetalControlPointManager& net = petal->controlPoints();
    const PetalControlPointManager flat = net;
    ASSERT_LT(largestLift(net), 1e-9);

    // Far from every edge control point: nothing changes.
    drag(straightLine({0.6, 0.2, 0.0}, {0.6, 0.8, 0.0}, 12));
    EXPECT_TRUE(sameNet(net, flat));

    // Base to tip, bowed sideways on the screen: the petal bends along its midrib.
    const Vector3 base = net.midribPoint(0);
    const Vector3 tip = net.midribPoint(net.tipRow());
    std::vector<Vector3> bow;
    for (int k = 0; k <= 20; ++k) {
        const double t = k / 20.0;
        bow.push_back(base + (tip - base) * t +
                      Vector3(0.15 * std::sin(std::numbers::pi * t), 0, 0));
    }
    drag(bow);
    EXPECT_GT(largestLift(net), 0.02);
    EXPECT_FALSE(sameNet(net, flat));

    // Edge to edge across a middle row, bowed upwards: the rows lift.
    const PetalControlPointManager bent = net;
    const int row = net.rowCount() / 2;
    const Vector3 left = net.pointAt(row, 0);
    const Vector3 right = net.pointAt(row, net.lastColumn());
    std::vector<Vector3> arch;
    for (int k = 0; k <= 20; ++k) {
        const double t = k / 20.0;
        arch.push_back(left + (right - left) * t +
                       Vector3(0, 0.1 * std::sin(std::numbers::pi * t), 0));
    }
    drag(arch);
    EXPECT_FALSE(sameNet(net, bent));
    // The edge columns stay; the inner ones lift.
    EXPECT_EQ(net.pointAt(row, 0), bent.pointAt(row, 0));
    EXPECT_GT(
        std::abs(net.pointAt(row, net.midribColumn()).z - bent.pointAt(row, net.midribColumn()).z),
        0.005);
}

TEST_F(OrganSketchingTest, AnAntherStrokeGivesTheStamenAnAnther) {
    run(kCmdStamenCreation);
    drag(straightLine({0.0, 0.1, 0.0}, {0.05, 0.8, 0.0}, 12));
    auto* stamen = work<FlowerStamenNode>();
    ASSERT_NE(stamen, nullptr);
    ASSERT_TRUE(stamen->anther.empty());
    const Vector3 tip = stamen->mainAxis.back();
    drag(straightLine(tip + Vector3(-0.08, 0.02, 0), tip + Vector3(0.08, 0.06, 0), 10));
    EXPECT_FALSE(stamen->anther.empty());
    EXPECT_GT(stamen->m_antherAxis.size(), 4);
    // The anther's stroke was carried onto the plane through the filament's end.
    EXPECT_NEAR(stamen->RotAndTrans.translationPart().z, tip.z, 1e-6);
}

TEST_F(OrganSketchingTest, APetalIsStoredSavedReopenedAndExportedThroughTheCommands) {
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    const PetalControlPointManager net = petal->controlPoints();
    const int leaves = libraryBrowser().entryCount(kCategoryLeaf);
    run(kCmdStoreCurrent);
    EXPECT_TRUE(controller().libraryHolds(petal));
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryLeaf), leaves + 1);

    frame->commands().updateAll();
    ASSERT_TRUE(frame->commands().action(kCmdSaveObj)->isEnabled());
    answerNextFileDialog(pathOf("petal.obj"));
    run(kCmdSaveObj);
    std::ifstream obj(dir.path("petal.obj"));
    std::stringstream objText;
    objText << obj.rdbuf();
    EXPECT_NE(objText.str().find("\nv "), std::string::npos);
    EXPECT_TRUE(std::ifstream(dir.path("petal.mtl")).good());

    answerNextFileDialog(pathOf("first.pmr"));
    run(kCmdFileSave);
    EXPECT_EQ(frame->document().title(), QStringLiteral("first.pmr"));

    answerNextFileDialog(pathOf("first.pmr"));
    run(kCmdFileOpen);
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryLeaf), leaves + 1);
    const FlowerPetalNode* reopened = nullptr;
    for (const auto& [id, object] : controller().library())
        if (auto* p = dynamic_cast<const FlowerPetalNode*>(object.get()))
            reopened = p;
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->controlPoints().rowCount(), net.rowCount());
    for (size_t i = 0; i < net.points().cells().size(); ++i)
        EXPECT_LT(distance(reopened->controlPoints().points().cells()[i], net.points().cells()[i]),
                  1e-5);
}

// The picture of the README's walk-through: the main window with a fresh petal.
// With PELMORA_SCREENSHOT set it is written there.
TEST_F(OrganSketchingTest, TheMainWindowShowsTheFreshPetal) {
    ASSERT_NE(drawPetal(), nullptr);
    view->renderNow();
    const QImage window = frame->screen()->grabWindow(frame->winId()).toImage();
    ASSERT_FALSE(window.isNull());
    const QPoint inView =
        view->mapToGlobal(pixelOf({0.05, 0.5, 0.0})) - frame->mapToGlobal(QPoint());
    EXPECT_NE(window.pixelColor(inView), QColor(Qt::white));
    if (const QByteArray path = qgetenv("PELMORA_SCREENSHOT"); !path.isEmpty()) {
        EXPECT_TRUE(window.save(QString::fromLocal8Bit(path)));
    }
}
