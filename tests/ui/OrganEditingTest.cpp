#include "OrganSketchingFixture.h"

#include <algorithm>
#include <limits>

class OrganEditingTest : public OrganSketchingFixture {
protected:
    // A stamen drawn straight up with control points shown, and the pixel just above
    // its filament's end, which hides the lower half of the tip's point.
    FlowerStamenNode* drawStamenShowingPoints(QPoint& tip) {
        run(kCmdShowControlPoints);
        run(kCmdStamenCreation);
        drag(straightLine({0.0, 0.1, 0.0}, {0.0, 0.6, 0.0}, 10));
        auto* stamen = work<FlowerStamenNode>();
        if (stamen)
            tip = pixelOf(stamen->mainAxis.back()) - QPoint(0, 4);
        return stamen;
    }
};

namespace {

// A stroke from the left edge of `row` to its right edge, bowed up by `height`.
std::vector<Vector3> archAcross(const PetalControlPointManager& net, int row, double height) {
    const Vector3 left = net.pointAt(row, 0);
    const Vector3 right = net.pointAt(row, net.lastColumn());
    std::vector<Vector3> arch;
    for (int k = 0; k <= 20; ++k) {
        const double t = k / 20.0;
        arch.push_back(left + (right - left) * t +
                       Vector3(0, height * std::sin(std::numbers::pi * t), 0));
    }
    return arch;
}

} // namespace

TEST_F(OrganEditingTest, ADraggedControlPointReturnsWithTheMouse) {
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

TEST_F(OrganEditingTest, BendingStrokesLiftThePetalOnlyFromItsEdge) {
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
    drag(archAcross(net, row, 0.1));
    EXPECT_FALSE(sameNet(net, bent));
    // The edge columns stay; the inner ones lift.
    EXPECT_EQ(net.pointAt(row, 0), bent.pointAt(row, 0));
    EXPECT_GT(
        std::abs(net.pointAt(row, net.midribColumn()).z - bent.pointAt(row, net.midribColumn()).z),
        0.005);
}

// A stamen drawn away from the origin is stored from the origin, and the view goes
// along, so an anther drawn across the filament's tip, where the person sees it,
// sits on the tip instead of floating where the tip used to be.
TEST_F(OrganEditingTest, AnAntherDrawnAcrossTheFilamentsTipSitsOnIt) {
    run(kCmdStamenCreation);
    const Path filament = pixelsOf(straightLine({0.5, 0.1, 0.0}, {0.55, 0.8, 0.0}, 12));
    drag(filament);
    auto* stamen = work<FlowerStamenNode>();
    ASSERT_NE(stamen, nullptr);
    ASSERT_TRUE(stamen->anther.empty());
    EXPECT_NEAR(stamen->mainAxis.front().length(), 0.0, 1e-12);
    const Vector3 tip = stamen->mainAxis.back();
    EXPECT_LE((pixelOf(tip) - filament.back()).manhattanLength(), 2);

    Path across;
    for (int k = -5; k <= 5; ++k)
        across.push_back(filament.back() + QPoint(7 * k, -k));
    drag(across);
    ASSERT_FALSE(stamen->anther.empty());
    EXPECT_GT(stamen->m_antherAxis.size(), 4);
    // The anther's stroke was carried onto the plane through the filament's end, and
    // its axis, placed on the stamen, runs through the tip.
    EXPECT_NEAR(stamen->RotAndTrans.translationPart().z, tip.z, 1e-6);
    double nearest = std::numeric_limits<double>::max();
    const PointList& axis = stamen->m_antherAxis.points;
    for (size_t i = 0; i + 1 < axis.size(); ++i) {
        const Vector3 a = transformPoint(stamen->RotAndTrans, axis[i]);
        const Vector3 b = transformPoint(stamen->RotAndTrans, axis[i + 1]);
        const double t = std::clamp(dot(tip - a, b - a) / dot(b - a, b - a), 0.0, 1.0);
        nearest = std::min(nearest, distance(a + (b - a) * t, tip));
    }
    EXPECT_LT(nearest, 0.01);
}

TEST_F(OrganEditingTest, APressBesideTheControlPointsDrawsOnlyInTheStamenAndPistilModes) {
    run(kCmdShowControlPoints);
    ASSERT_TRUE(controller().settings().showControlPoints);
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

TEST_F(OrganEditingTest, AStrokeFromTheMidribCurlsOneSide) {
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    PetalControlPointManager& net = petal->controlPoints();
    const PetalControlPointManager flat = net;
    const int row = net.rowCount() / 2;
    const Vector3 from = net.midribPoint(row);
    const Vector3 to = net.pointAt(row, net.lastColumn());
    // Out to the right edge, arched a little upwards on the screen; most points lie
    // near the edge, so that the stroke's middle point chooses that side.
    std::vector<Vector3> curl;
    for (int k = 0; k <= 20; ++k) {
        const double t = std::sqrt(k / 20.0);
        curl.push_back(from + (to - from) * t +
                       Vector3(0, 0.03 * std::sin(std::numbers::pi * t), 0));
    }
    drag(curl);
    bool rightMoved = false;
    for (int r = 1; r < net.tipRow(); ++r) {
        for (int k = 0; k <= net.midribColumn(); ++k)
            EXPECT_EQ(net.pointAt(r, k), flat.pointAt(r, k)) << r << "," << k;
        rightMoved =
            rightMoved || !(net.pointAt(r, net.lastColumn()) == flat.pointAt(r, net.lastColumn()));
    }
    EXPECT_TRUE(rightMoved);
    EXPECT_GT(largestLift(net), 0.005);
}

TEST_F(OrganEditingTest, TheControlPointVariantLiftsOnlyTheRowsNearTheStroke) {
    controller().settings().controlPointVariant = 1;
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    PetalControlPointManager& net = petal->controlPoints();
    ASSERT_GE(net.rowCount(), 8);
    const PetalControlPointManager flat = net;
    const int row = 2;
    drag(archAcross(net, row, 0.05));
    const int c = net.midribColumn();
    EXPECT_NE(net.pointAt(row, c).z, flat.pointAt(row, c).z);
    for (int r = row + 3; r < net.tipRow(); ++r)
        EXPECT_EQ(net.pointAt(r, c), flat.pointAt(r, c)) << r;
}

TEST_F(OrganEditingTest, OrbitingInAModifyModeKeepsThePicksInStep) {
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    const Vector3 eye = gl().camera().eye;
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, QPoint(250, 400));
    QTest::mouseMove(view, QPoint(300, 380));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, QPoint(300, 380));
    EXPECT_FALSE(gl().camera().eye == eye);
    const auto picked =
        pickAt(pixelOf(petal->controlPoints().midribPoint(3) + Vector3(0.03, 0, 0)));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->id, petal->id);
}

TEST_F(OrganEditingTest, AReSketchedPistilIsPickedWhereItNowStands) {
    run(kCmdPistilCreation);
    std::vector<Vector3> outline;
    for (int k = 0; k <= 16; ++k) {
        const double a = std::numbers::pi * k / 16.0;
        outline.push_back({-0.08 * std::cos(a), 0.1 + 0.6 * std::sin(a), 0.0});
    }
    drag(outline);
    auto* pistil = work<FlowerPistilNode>();
    ASSERT_NE(pistil, nullptr);
    // The new axis leans to the right.
    const QPoint newPlace = pixelOf({0.25, 0.25, 0.0});
    EXPECT_FALSE(pickAt(newPlace));
    drag(straightLine({0.0, 0.0, 0.0}, {0.5, 0.5, 0.0}, 15));
    const auto picked = pickAt(newPlace);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->id, pistil->id);
}

TEST_F(OrganEditingTest, AStamenTipDraggedWithControlPointsShownIsPickedWhereItNowIs) {
    QPoint tip;
    auto* stamen = drawStamenShowingPoints(tip);
    ASSERT_NE(stamen, nullptr);
    const auto before = pickAt(tip);
    ASSERT_TRUE(before && before->twoIndexPart);
    const QPoint higher = tip - QPoint(0, 60);
    drag(Path{tip, tip - QPoint(0, 30), higher});
    EXPECT_GT(stamen->mainAxis.back().y, 0.6);
    const auto after = pickAt(pixelOf(stamen->mainAxis.back()) - QPoint(0, 4));
    ASSERT_TRUE(after && after->twoIndexPart);
    EXPECT_EQ(after->a, before->a);
    EXPECT_EQ(after->b, before->b);
}

TEST_F(OrganEditingTest, AHeldControlPointWhoseObjectGoesAwayIsLetGo) {
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    run(kCmdShowControlPoints);
    click(QPoint(60, 60));
    const QPoint at = pixelOf(petal->controlPoints().pointAt(3, 0));
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(singleton<MouseListenerForPetalModify>().drag().active());
    controller().setWorkObject(nullptr);
    QTest::mouseMove(view, at + QPoint(20, 20));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at + QPoint(20, 20));
    EXPECT_FALSE(singleton<MouseListenerForPetalModify>().drag().active());
}

TEST_F(OrganEditingTest, AStamenPointLetGoAfterItsStamenWentAwayRecordsNoStep) {
    QPoint tip;
    ASSERT_NE(drawStamenShowingPoints(tip), nullptr);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, tip);
    ASSERT_TRUE(singleton<MouseListenerForStamenModify>().drag().active());
    controller().setWorkObject(nullptr);
    QTest::mouseMove(view, tip - QPoint(0, 30));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, tip - QPoint(0, 30));
    EXPECT_FALSE(singleton<MouseListenerForStamenModify>().drag().active());
    // Taking the work object away is itself the step; no point moved.
    EXPECT_NE(controller().lastStep(), "Move control point");
}

TEST_F(OrganEditingTest, AReleaseWhosePressTheModeDidNotSeeFinishesNoStroke) {
    run(kCmdPetalCreation);
    mouseListenerManager().mainViewMessage(MouseMessage::LButtonUp, 100, 100);
    EXPECT_EQ(singleton<MouseListenerForPetal>().finishedStrokes(), 0);
}
