#include "organs/PetalControlPointManager.h"

#include "model/Parameters.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>

namespace {

// A net of `rows` rows and 2c + 1 columns that widens towards the tip: the base at
// the origin, the tip at (0, rows - 1, 0) and inner point (r, k) at ((k - c) r, r, 0),
// so row r is 2 c r wide.
PetalControlPointManager fan(int rows, int c) {
    Grid points(rows, 2 * c + 1);
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k <= 2 * c; ++k)
            points.at(r, k) = r == 0          ? Vector3()
                              : r == rows - 1 ? Vector3(0, rows - 1, 0)
                                              : Vector3((k - c) * r, r, 0);
    return PetalControlPointManager(std::move(points));
}

using Cell = std::pair<int, int>;

// The points that differ between two nets of the same size.
std::set<Cell> moved(const PetalControlPointManager& before,
                     const PetalControlPointManager& after) {
    std::set<Cell> cells;
    for (int r = 0; r < before.rowCount(); ++r)
        for (int k = 0; k < before.columnCount(); ++k)
            if (!(before.pointAt(r, k) == after.pointAt(r, k)))
                cells.insert({r, k});
    return cells;
}

void expectPoint(const Vector3& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
    EXPECT_NEAR(p.z, z, 1e-12);
}

// Control point parameters of 5 rows and 2 x 3 + 1 columns.
const ResolutionPair kSmallNet{5, 3};

const PointList kMidrib{{0, 0, 0}, {0, 4, 0}};
const PointList kLeft{{0, 0, 0}, {-2, 2, 0}, {0, 4, 0}};
const PointList kRight{{0, 0, 0}, {3, 2, 0}, {0, 4, 0}};

} // namespace

TEST(PetalControlPointManager, NetFromOutlinesDividesEachHalfRowEvenly) {
    PetalControlPointManager net;
    net.createFromOutline(kLeft, kMidrib, kRight, kSmallNet);
    ASSERT_EQ(net.rowCount(), 5);
    ASSERT_EQ(net.columnCount(), 7);
    EXPECT_EQ(net.midribColumn(), 3);
    for (int k = 0; k < 7; ++k) {
        expectPoint(net.pointAt(0, k), 0, 0, 0);
        expectPoint(net.pointAt(4, k), 0, 4, 0);
    }
    // Row 1 (y = 1) crosses the left outline at x = -1 and the right one at 1.5.
    const double row1[7] = {-1, -2.0 / 3, -1.0 / 3, 0, 0.5, 1, 1.5};
    for (int k = 0; k < 7; ++k)
        expectPoint(net.pointAt(1, k), row1[k], 1, 0);
    expectPoint(net.pointAt(2, 0), -2, 2, 0);
    expectPoint(net.pointAt(2, 6), 3, 2, 0);
    expectPoint(net.pointAt(3, 0), -1, 3, 0);
    expectPoint(net.pointAt(3, 6), 1.5, 3, 0);
}

TEST(PetalControlPointManager, RowsAboveAnOutlineKeepItsLastCrossing) {
    PetalControlPointManager net;
    // The right outline stops at y = 2.5, the left one is missing altogether.
    net.createFromOutline({}, kMidrib, {{0, 0, 0}, {3, 2, 0}, {2, 2.5, 0}}, kSmallNet);
    expectPoint(net.pointAt(2, 6), 3, 2, 0);
    expectPoint(net.pointAt(3, 6), 3, 3, 0);
    expectPoint(net.pointAt(3, 5), 2, 3, 0);
    expectPoint(net.pointAt(1, 0), 0, 1, 0);
    expectPoint(net.pointAt(3, 0), 0, 3, 0);
}

TEST(PetalControlPointManager, NetSizeFollowsTheParametersWithinTheirRange) {
    Parameters values;
    PetalControlPointManager net;
    net.createFromOutline(kLeft, kMidrib, kRight, values.petalControlPoints);
    EXPECT_EQ(net.rowCount(), 8);
    EXPECT_EQ(net.columnCount(), 11);
    values.petalControlPoints = {1, 99};
    net.createFromOutline(kLeft, kMidrib, kRight, values.petalControlPoints);
    EXPECT_EQ(net.rowCount(), 3);
    EXPECT_EQ(net.columnCount(), 61);
    // A midrib without length or without points still gives one point per row.
    net.createFromOutline(kLeft, {{1, 1, 0}, {1, 1, 0}}, kRight, values.petalControlPoints);
    EXPECT_EQ(net.rowCount(), 3);
    expectPoint(net.pointAt(1, 30), 1, 1, 0);
    expectPoint(net.pointAt(2, 30), 1, 1, 0);
    net.createFromOutline({}, {}, {}, values.petalControlPoints);
    EXPECT_EQ(net.rowCount(), 3);
}

TEST(PetalControlPointManager, OutlineCrossing) {
    const auto crossing = PetalControlPointManager::outlineCrossing;
    expectPoint(*crossing(1, {{0, 0, 5}, {2, 1, 5}, {5, 3, 5}}), 2, 1, 0);
    expectPoint(*crossing(2, {{0, 0, 0}, {2, 1, 0}, {5, 3, 0}}), 3.5, 2, 0);
    // A level segment gives its first point's x; a height below the start is
    // extrapolated from the first segment.
    expectPoint(*crossing(1, {{0, 1, 0}, {4, 1, 0}}), 0, 1, 0);
    expectPoint(*crossing(0.5, {{0, 1, 0}, {4, 3, 0}}), -1, 0.5, 0);
    EXPECT_FALSE(crossing(5, {{0, 1, 0}, {4, 3, 0}}));
    EXPECT_FALSE(crossing(0, {{0, 0, 0}}));
}

TEST(PetalControlPointManager, PointAccessOutsideTheNetIsAbsorbed) {
    PetalControlPointManager net = fan(5, 2);
    const PetalControlPointManager before = net;
    EXPECT_EQ(net.pointAt(-1, 0), Vector3());
    EXPECT_EQ(net.pointAt(2, 5), Vector3());
    net.setPointAt(5, 0, {1, 1, 1});
    net.setPointAt(0, -1, {1, 1, 1});
    net.dragPoint(2, 7, {1, 1, 1});
    EXPECT_TRUE(moved(before, net).empty());
    net.setPointAt(2, 1, {9, 8, 7});
    EXPECT_EQ(net.pointAt(2, 1), Vector3(9, 8, 7));
}

TEST(PetalControlPointManager, DraggingTheTipScalesTheNetAndTheBaseNeverMoves) {
    PetalControlPointManager net = fan(5, 2);
    const PetalControlPointManager before = net;
    net.dragPoint(0, 2, {1, 1, 1});
    net.dragPoint(4, 2, {3, 0.009, 1});
    EXPECT_TRUE(moved(before, net).empty());

    net.dragPoint(4, 4, {7, 8, -3}); // only the new height counts
    for (int r = 0; r < 5; ++r)
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(net.pointAt(r, k), before.pointAt(r, k) * 2.0);

    net.dragPoint(2, 1, {0.5, 2.5, 1});
    EXPECT_EQ(moved(before, net).count({2, 1}), 1u);
    EXPECT_EQ(net.pointAt(2, 1), Vector3(0.5, 2.5, 1));

    // A tip that is not above the base cannot give a scale.
    PetalControlPointManager flat = fan(3, 1);
    for (int k = 0; k < 3; ++k)
        flat.setPointAt(2, k, {0, 0, 0});
    const PetalControlPointManager flatBefore = flat;
    flat.dragPoint(2, 1, {0, 5, 0});
    EXPECT_TRUE(moved(flatBefore, flat).empty());
}

TEST(PetalControlPointManager, LevellingAndRowFalloff) {
    PetalControlPointManager net = fan(5, 2);
    for (int k = 0; k < 5; ++k)
        net.setPointAt(2, k, {k * 1.0, 2, k == 2 ? 1.0 : 3.0});
    net.levelMidrib();
    EXPECT_EQ(net.pointAt(2, 2).z, 0.0);
    EXPECT_EQ(net.pointAt(2, 0).z, 2.0);
    EXPECT_EQ(net.pointAt(1, 0).z, 0.0);

    EXPECT_EQ(PetalControlPointManager::rowFalloff(3, 3), 1.0);
    EXPECT_EQ(PetalControlPointManager::rowFalloff(3, 4), 0.6);
    EXPECT_EQ(PetalControlPointManager::rowFalloff(5, 3), 0.2);
    EXPECT_EQ(PetalControlPointManager::rowFalloff(0, 3), 0.0);
}

TEST(PetalControlPointManager, LocalBendFollowsTheProfileWithFalloff) {
    // Row 2 is 8 wide, so L0 = 4 from the midrib to an edge; row r gets weight
    // (r / 2) x falloff.
    PetalControlPointManager net = fan(7, 2);
    const PetalControlPointManager before = net;
    net.bendRowsLocally({2, 2}, {2, 4}, {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}});
    expectPoint(net.pointAt(1, 3), 1, 1, 0.3);
    expectPoint(net.pointAt(1, 4), 2, 1, 0.6);
    expectPoint(net.pointAt(2, 3), 1, 2, 1); // the picked row takes the profile
    expectPoint(net.pointAt(2, 4), 2, 2, 2);
    expectPoint(net.pointAt(3, 3), 1.2, 3, 0.9);
    expectPoint(net.pointAt(4, 3), 2.8, 4, 0.4);
    const std::set<Cell> right{{1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 3}, {3, 4}, {4, 3}, {4, 4}};
    EXPECT_EQ(moved(before, net), right);

    PetalControlPointManager mirrored = fan(7, 2);
    mirrored.bendRowsLocally({2, 2}, {2, 0}, {{0, 0, 0}, {-1, 0, 1}, {-2, 0, 2}});
    expectPoint(mirrored.pointAt(2, 1), -1, 2, 1);
    expectPoint(mirrored.pointAt(3, 0), -2.4, 3, 1.8);
    EXPECT_EQ(mirrored.pointAt(2, 3), before.pointAt(2, 3));
}

TEST(PetalControlPointManager, GlobalShapeScalesTheProfileToEveryRow) {
    // L0 = 4 and row r is 2r from the midrib to an edge: the profile scales by r / 2.
    const PointList profile{{0, 0, 0}, {0.5, 0, 0.5}, {1, 0, -0.5}};
    PetalControlPointManager net = fan(7, 2);
    const PetalControlPointManager before = net;
    net.shapeRowsGlobally({2, 2}, {2, 4}, profile);
    for (int r = 1; r <= 5; ++r) {
        expectPoint(net.pointAt(r, 3), r / 4.0, r, r / 4.0);
        expectPoint(net.pointAt(r, 4), r / 2.0, r, -r / 4.0);
        EXPECT_EQ(net.pointAt(r, 1), before.pointAt(r, 1));
    }
    EXPECT_EQ(net.pointAt(6, 4), before.pointAt(6, 4));

    PetalControlPointManager left = fan(7, 2);
    left.shapeRowsGlobally({2, 2}, {2, 0}, {{0, 0, 0}, {-0.5, 0, 0.5}, {-1, 0, -0.5}});
    expectPoint(left.pointAt(4, 1), -1, 4, 1);
    expectPoint(left.pointAt(4, 0), -2, 4, -1);

    // A profile reaching length 2, or one that is all (nearly) zero, is refused.
    for (const PointList& refused :
         {PointList{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, PointList{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
          PointList{{0, 0, 0}, {0, 0, 0.000005}, {0, 0, 0}}}) {
        PetalControlPointManager untouched = fan(7, 2);
        untouched.shapeRowsGlobally({2, 2}, {2, 4}, refused);
        EXPECT_TRUE(moved(before, untouched).empty());
    }
}

TEST(PetalControlPointManager, BendAlongTheMidribLevelsItThenLiftsRows) {
    PetalControlPointManager net = fan(5, 2);
    for (int k = 0; k < 5; ++k)
        net.setPointAt(2, k, net.pointAt(2, k) + Vector3(0, 0, 1));
    const Profile offsets{0.05, 0.1, 0.2, 0.3, 0};
    PetalControlPointManager upwards = net;
    upwards.bendAlongMidrib({0, 2}, {4, 2}, offsets);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(upwards.pointAt(0, k).z, 0.0);
        EXPECT_EQ(upwards.pointAt(1, k).z, 0.1);
        EXPECT_EQ(upwards.pointAt(2, k).z, 0.2);
        EXPECT_EQ(upwards.pointAt(3, k).z, 0.3);
        EXPECT_EQ(upwards.pointAt(4, k).z, 0.0);
    }
    // Drawn from the tip: the offsets run backwards and the tip row takes the first.
    PetalControlPointManager downwards = net;
    downwards.bendAlongMidrib({4, 2}, {0, 2}, offsets);
    EXPECT_EQ(downwards.pointAt(4, 0).z, 0.05);
    EXPECT_EQ(downwards.pointAt(3, 1).z, 0.1);
    EXPECT_EQ(downwards.pointAt(2, 2).z, 0.2);
    EXPECT_EQ(downwards.pointAt(1, 3).z, 0.3);
    EXPECT_EQ(downwards.pointAt(0, 4).z, 0.0);

    // Any other pair, or too few offsets, only levels.
    for (const auto& [a, b, list] :
         {std::tuple{NetIndex{2, 2}, NetIndex{4, 2}, offsets},
          std::tuple{NetIndex{0, 2}, NetIndex{4, 2}, Profile{0.1, 0.1, 0.1}},
          std::tuple{NetIndex{4, 2}, NetIndex{0, 2}, Profile{0.1, 0.1, 0.1, 0.1}}}) {
        PetalControlPointManager levelled = net;
        levelled.bendAlongMidrib(a, b, list);
        EXPECT_EQ(levelled.pointAt(2, 2).z, 0.0);
        EXPECT_EQ(levelled.pointAt(2, 0).z, 0.0);
        EXPECT_EQ(levelled.pointAt(1, 0).z, 0.0);
    }
}

TEST(PetalControlPointManager, LiftsOverTheThreeSpans) {
    const Profile heights{0, 0.1, 0.2, 0.3, 0.4};
    const auto lifted = [&](NetIndex a, NetIndex b, bool local) {
        PetalControlPointManager net = fan(7, 2);
        if (local)
            net.liftRowsLocally(a, b, heights);
        else
            net.liftRowsGlobally(a, b, heights);
        return net;
    };
    const PetalControlPointManager before = fan(7, 2);
    // Midrib to right edge (L0 = 4, Lr = 2r): only column 3 moves, by heights[1].
    PetalControlPointManager net = lifted({2, 2}, {2, 4}, false);
    for (int r = 1; r <= 5; ++r)
        EXPECT_NEAR(net.pointAt(r, 3).z, 0.1 * r / 2, 1e-15);
    EXPECT_EQ(moved(before, net).size(), 5u);
    // Picked from the edge inwards the heights run the other way.
    net = lifted({2, 4}, {2, 2}, false);
    EXPECT_NEAR(net.pointAt(4, 3).z, 0.3 * 2, 1e-15);

    // Edge to edge (L0 = 8, Lr = 4r): columns 1 to 3 by heights[1..3].
    net = lifted({2, 0}, {2, 4}, false);
    for (int k = 1; k <= 3; ++k)
        EXPECT_NEAR(net.pointAt(3, k).z, heights[k] * 1.5, 1e-15);
    EXPECT_EQ(net.pointAt(3, 0).z, 0.0);
    EXPECT_EQ(net.pointAt(3, 4).z, 0.0);
    net = lifted({2, 4}, {2, 0}, false);
    EXPECT_NEAR(net.pointAt(3, 1).z, 0.3 * 1.5, 1e-15);

    // Left edge to midrib: column 1 by heights[1].
    net = lifted({2, 0}, {2, 2}, false);
    EXPECT_NEAR(net.pointAt(5, 1).z, 0.1 * 2.5, 1e-15);
    EXPECT_EQ(moved(before, net).size(), 5u);

    // Locally the rows fall off around the picked row.
    net = lifted({2, 2}, {2, 4}, true);
    EXPECT_NEAR(net.pointAt(2, 3).z, 0.1, 1e-15);
    EXPECT_NEAR(net.pointAt(3, 3).z, 0.1 * 1.5 * 0.6, 1e-15);
    EXPECT_NEAR(net.pointAt(4, 3).z, 0.1 * 2 * 0.2, 1e-15);
    EXPECT_EQ(net.pointAt(5, 3).z, 0.0);
}

TEST(PetalControlPointManager, LiftHeightsOfTwoAreRefusedButLargeNegativesApply) {
    const PetalControlPointManager before = fan(7, 2);
    for (const bool local : {false, true}) {
        PetalControlPointManager net = before;
        const Profile refused{0, 2, 0, 0, 0};
        if (local)
            net.liftRowsLocally({2, 2}, {2, 4}, refused);
        else
            net.liftRowsGlobally({2, 2}, {2, 4}, refused);
        EXPECT_TRUE(moved(before, net).empty());
        const Profile deep{0, -2.5, 0, 0, 0};
        if (local)
            net.liftRowsLocally({2, 2}, {2, 4}, deep);
        else
            net.liftRowsGlobally({2, 2}, {2, 4}, deep);
        EXPECT_NEAR(net.pointAt(2, 3).z, -2.5, 1e-15);
    }
}

TEST(PetalControlPointManager, PairsThatFormNoSpanChangeNothing) {
    const PetalControlPointManager before = fan(7, 2);
    const PointList profile{{0, 0, 0}, {0.5, 0, 0.5}, {1, 0, 0.2}};
    const Profile heights{0, 0.1, 0.2, 0.3, 0.4};
    // Column 1 is neither an edge nor the midrib; the same point twice has no span;
    // a point outside the net is no pick; lists shorter than the net are refused.
    const std::pair<NetIndex, NetIndex> pairs[] = {
        {{2, 2}, {2, 1}}, {{2, 4}, {2, 4}}, {{2, 2}, {9, 4}}};
    for (const auto& [a, b] : pairs) {
        PetalControlPointManager net = before;
        net.bendRowsLocally(a, b, profile);
        net.shapeRowsGlobally(a, b, profile);
        net.liftRowsLocally(a, b, heights);
        net.liftRowsGlobally(a, b, heights);
        net.bendAlongMidrib(a, b, heights);
        EXPECT_TRUE(moved(before, net).empty());
    }
    PetalControlPointManager net = before;
    net.bendRowsLocally({2, 2}, {2, 4}, {{0, 0, 0}, {1, 0, 1}});
    net.shapeRowsGlobally({2, 2}, {2, 4}, {{0, 0, 0}, {1, 0, 1}});
    net.liftRowsGlobally({2, 0}, {2, 4}, {0, 0.1, 0.2});
    EXPECT_TRUE(moved(before, net).empty());
}

TEST(PetalControlPointManager, ReverseProfile) {
    Profile p{1, 2, 3};
    PetalControlPointManager::reverseProfile(p);
    EXPECT_EQ(p, (Profile{3, 2, 1}));
}
