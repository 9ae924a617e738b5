#include "organs/StemShape.h"
#include "organs/PistilChords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// A straight axis from the origin up to (0, height, 0) in `segments` pieces.
Stroke upright(double height, int segments = 7) {
    Stroke axis;
    for (int i = 0; i <= segments; ++i)
        axis.add({0.0, height * i / segments, 0.0});
    return axis;
}

bool finite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void expectNear(const Vector3& actual, const Vector3& expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// An outline whose two sides mirror each other: up the left side from (-w, 0) to
// the top and down the right side, n points in all.
PointList mirroredOutline(int n, double height = 1.0) {
    PointList pts;
    const int half = n / 2;
    for (int i = 0; i < half; ++i) {
        const double t = static_cast<double>(i) / (half - 1);
        pts.push_back({-0.1 * (1.0 - t * t), height * t, 0.0});
    }
    for (int i = half - 1; i >= 0; --i)
        pts.push_back({-pts[i].x, pts[i].y, 0.0});
    return pts;
}

} // namespace

TEST(StemShape, StraightTubeRingsFollowTheAxisAndTaper) {
    StemShape tube;
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.05, 5, 7);
    ASSERT_EQ(tube.rows(), 5);
    ASSERT_EQ(tube.columns(), 7);
    const double step = 2.0 * std::numbers::pi / 6;
    // Column j lies at angle j x step, turning from +x towards -z.
    expectNear(tube.positions.at(0, 0), {0.1, 0.0, 0.0});
    expectNear(tube.positions.at(0, 1), {0.1 * std::cos(step), 0.0, -0.1 * std::sin(step)});
    expectNear(tube.positions.at(2, 0), {0.075, 0.5, 0.0});
    expectNear(tube.positions.at(4, 3), {-0.05, 1.0, 0.0});
    // The seam is closed and the tip ring has exactly half the base ring's radius.
    for (int r = 0; r < 5; ++r)
        expectNear(tube.positions.at(r, 6), tube.positions.at(r, 0));
    const auto ringRadius = [&](int r) {
        const Vector3 p = tube.positions.at(r, 2);
        return std::hypot(p.x, p.z);
    };
    EXPECT_DOUBLE_EQ(ringRadius(4), ringRadius(0) * 0.5);
}

TEST(StemShape, RingsStandAcrossABentAxis) {
    // Along +x, then up: the first ring faces +x, the last +y, the corner ring halfway.
    Stroke axis;
    axis.add({0, 0, 0});
    axis.add({1, 0, 0});
    axis.add({1, 1, 0});
    StemShape tube;
    tube.buildTube(axis, 1.0, 0.1, 0.1, 3, 9);
    ASSERT_EQ(tube.rows(), 3);
    const auto ringNormal = [&](int r) {
        return unit(cross(tube.positions.at(r, 0) - tube.positions.at(r, 4),
                          tube.positions.at(r, 2) - tube.positions.at(r, 6)));
    };
    EXPECT_NEAR(std::abs(ringNormal(0).x), 1.0, 1e-9);
    EXPECT_NEAR(std::abs(ringNormal(2).y), 1.0, 1e-9);
    EXPECT_NEAR(std::abs(dot(ringNormal(1), unit({1, 1, 0}))), 1.0, 1e-9);
    // Every ring point keeps its distance from its centre.
    for (int r = 0; r < 3; ++r)
        for (int j = 0; j < 9; ++j)
            EXPECT_NEAR(distance(tube.positions.at(r, j), axis.points[r]), 0.1, 1e-9);
}

TEST(StemShape, PortionCutsTheAxisAtItsArcLength) {
    StemShape tube;
    tube.buildTube(upright(2.0), 0.25, 0.1, 0.1, 4, 5);
    ASSERT_EQ(tube.rows(), 4);
    EXPECT_NEAR(tube.positions.at(3, 0).y, 0.5, 1e-9);
    EXPECT_NEAR(tube.positions.at(1, 0).y, 0.5 / 3, 1e-9);
}

TEST(StemShape, NormalsOfAStraightTubeAreUnitAndPointInwards) {
    StemShape tube;
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.1, 6, 8);
    // Inner rows average the cells on both sides of a column and point straight at the
    // axis; the end rows see only the cell ahead, half a column step round.
    const double endRow = std::cos(std::numbers::pi / 7);
    for (int r = 0; r < tube.rows(); ++r)
        for (int j = 0; j < tube.columns(); ++j) {
            const Vector3 p = tube.positions.at(r, j);
            const Vector3 n = tube.normals.at(r, j);
            const bool end = r == 0 || r == tube.rows() - 1;
            EXPECT_NEAR(n.length(), 1.0, 1e-9) << r << " " << j;
            EXPECT_NEAR(n.y, 0.0, 1e-9) << r << " " << j;
            EXPECT_NEAR(dot(n, unit({-p.x, 0.0, -p.z})), end ? endRow : 1.0, 1e-9) << r << " " << j;
        }
}

TEST(StemShape, TextureVRepeatsEveryTenRowsAndUStopsShortOfOne) {
    StemShape tube;
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.1, 12, 5);
    EXPECT_EQ(tube.texCoords.at(0, 0).y, 0.0);
    EXPECT_DOUBLE_EQ(tube.texCoords.at(9, 0).y, 0.9);
    EXPECT_EQ(tube.texCoords.at(10, 0).y, 0.0);
    EXPECT_DOUBLE_EQ(tube.texCoords.at(11, 0).y, 0.1);
    EXPECT_EQ(tube.texCoords.at(3, 0).x, 0.0);
    EXPECT_DOUBLE_EQ(tube.texCoords.at(3, 4).x, 0.8);
    EXPECT_EQ(tube.texCoords.at(3, 4).z, 0.0);
}

TEST(StemShape, ShapesThatCannotCloseAreEmptyNeverNotANumber) {
    Stroke still;
    for (int i = 0; i < 5; ++i)
        still.add({0.3, 0.3, 0.3});
    StemShape tube;
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.1, 4, 4);
    ASSERT_FALSE(tube.empty());
    tube.buildTube(still, 1.0, 0.1, 0.1, 4, 4);
    EXPECT_TRUE(tube.empty());
    EXPECT_TRUE(tube.normals.empty());
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.1, 1, 4);
    EXPECT_TRUE(tube.empty());
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.1, 4, 1);
    EXPECT_TRUE(tube.empty());
    tube.buildTube(Stroke(), 1.0, 0.1, 0.1, 4, 4);
    EXPECT_TRUE(tube.empty());
    tube.buildRevolution(still, 4, 4);
    EXPECT_TRUE(tube.empty());
    tube.buildAnther(still, 0.1, 4, 4);
    EXPECT_TRUE(tube.empty());

    // A closed end (radius 0) has no direction of its own, yet stays finite.
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.0, 4, 6);
    for (const Vector3& n : tube.normals.cells())
        EXPECT_TRUE(finite(n));
}

TEST(StemShape, RingCountIsBoundedHoweverLongTheAxis) {
    StemShape tube;
    tube.buildTube(upright(100.0), 1.0, 0.1, 0.1, 1000000, 6);
    EXPECT_EQ(tube.rows(), StemShape::kMaxRows);
}

TEST(StemShape, RevolutionTurnsTheProfileAboutTheYAxis) {
    Stroke profile;
    profile.add({0.0, 1.5, 0.0});
    profile.add({-0.5, 1.0, 0.0});
    profile.add({0.0, 0.5, 0.0});
    profile.add({0.5, 0.0, 0.0});
    StemShape body;
    body.buildRevolution(profile, 4, 5);
    ASSERT_EQ(body.rows(), 4);
    expectNear(body.positions.at(0, 2), {0.0, 1.5, 0.0});
    // A point left of the axis starts half a turn round.
    expectNear(body.positions.at(1, 0), {-0.5, 1.0, 0.0});
    expectNear(body.positions.at(1, 1), {0.0, 1.0, 0.5});
    expectNear(body.positions.at(3, 1), {0.0, 0.0, -0.5});
    expectNear(body.positions.at(3, 4), body.positions.at(3, 0));
}

TEST(StemShape, AntherIsASpindleClosedAtBothEnds) {
    Stroke axis;
    for (int i = 0; i < 5; ++i)
        axis.add({0.02 * i, 0.0, 0.0});
    const Stroke asDrawn = axis;
    StemShape anther;
    anther.buildAnther(axis, 0.012, 11, 6);
    ASSERT_EQ(anther.rows(), 11);
    const auto radius = [&](int r) {
        Vector3 centre;
        for (int j = 0; j < 5; ++j)
            centre += anther.positions.at(r, j) * 0.2;
        return distance(anther.positions.at(r, 0), centre);
    };
    EXPECT_NEAR(radius(0), 0.0, 1e-12);
    EXPECT_NEAR(radius(10), 0.0, 1e-12);
    EXPECT_NEAR(radius(5), 1.25 * 0.012, 1e-9);
    EXPECT_NEAR(radius(2), std::sqrt(0.25 - 0.09) * 0.012 * 2.5, 1e-9);
    EXPECT_EQ(axis.points, asDrawn.points);

    anther.buildAnther(axis, 0.012, 11, 0);
    EXPECT_TRUE(anther.empty());
}

TEST(StemShape, BoundingBoxAlwaysHoldsTheOrigin) {
    StemShape tube;
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.1, 3, 5);
    Vector3 lo, hi;
    tube.boundingBox(Matrix4::translation({2.0, 3.0, 0.0}), lo, hi);
    expectNear(lo, {0.0, 0.0, -0.1});
    expectNear(hi, {2.1, 4.0, 0.1});
}

TEST(StemShape, CopyIsIndependent) {
    StemShape tube;
    tube.buildTube(upright(1.0), 1.0, 0.1, 0.1, 3, 5);
    StemShape copy;
    copy.copyFrom(tube);
    EXPECT_EQ(copy.positions, tube.positions);
    EXPECT_EQ(copy.normals, tube.normals);
    EXPECT_EQ(copy.texCoords, tube.texCoords);
    tube.clear();
    EXPECT_EQ(copy.rows(), 3);
}

TEST(PistilChords, MirroredOutlineAdvancesBothEndsAndEndsOnTheMiddlePoint) {
    const PointList outline = mirroredOutline(20);
    const PistilChords chords = pairChords(outline);
    ASSERT_EQ(chords.size(), 11);
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(chords.sideA[r], outline[r]);
        EXPECT_EQ(chords.sideB[r], outline[19 - r]);
    }
    EXPECT_EQ(chords.sideA[10], outline[10]);
    EXPECT_EQ(chords.sideB[10], outline[10]);
}

TEST(PistilChords, ShortestCandidateChordDecidesWhichEndMoves) {
    // The left side is sampled about twice as densely as the right.
    PointList outline;
    for (int i = 0; i <= 8; ++i)
        outline.push_back({-0.1, i * 0.09, 0});
    for (int i = 4; i >= 0; --i)
        outline.push_back({0.1, i * 0.2, 0});
    const PistilChords chords = pairChords(outline);
    ASSERT_GE(chords.size(), 3);
    EXPECT_EQ(chords.sideA[1], outline[1]); // d2: the first end alone
    EXPECT_EQ(chords.sideB[1], outline[13]);
    EXPECT_EQ(chords.sideA[2], outline[2]); // d1: both ends
    EXPECT_EQ(chords.sideB[2], outline[12]);
    EXPECT_EQ(chords.midpoints.back(), chords.sideA.back());
    EXPECT_EQ(chords.sideA.back(), chords.sideB.back());

    // Run the other way round, the last end moves alone instead (d3).
    const PointList reversed(outline.rbegin(), outline.rend());
    const PistilChords other = pairChords(reversed);
    EXPECT_EQ(other.sideA[1], reversed[0]);
    EXPECT_EQ(other.sideB[1], reversed[12]);

    // Ties go to the chord named first: d1 over d3 ...
    const PointList even = {{0.1, 0, 0},    {0.1, 0.25, 0},   {0.1, 0.5, 0},
                            {-0.1, 0.5, 0}, {-0.1, 0.125, 0}, {-0.1, 0, 0}};
    EXPECT_EQ(pairChords(even).sideA[1], even[1]);
    EXPECT_EQ(pairChords(even).sideB[1], even[4]);
    // ... and d2 over d3.
    const PointList crossed = {{0, 0, 0},   {0.5, 1, 0},  {0.5, 2, 0},
                               {0.6, 2, 0}, {0.5, -1, 0}, {1, 0, 0}};
    EXPECT_EQ(pairChords(crossed).sideA[1], crossed[1]);
    EXPECT_EQ(pairChords(crossed).sideB[1], crossed[5]);
}

TEST(PistilChords, ShortOutlines) {
    EXPECT_EQ(pairChords({}).size(), 0);
    const PistilChords one = pairChords({{1, 2, 3}});
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.midpoints[0], Vector3(1, 2, 3));
    // Two points: the pair, then the second point with itself.
    EXPECT_EQ(pairChords({{0, 0, 0}, {1, 0, 0}}).size(), 2);
    // Three points: the ends, then the middle one with itself.
    const PistilChords three = pairChords({{0, 0, 0}, {0, 1, 0}, {1, 0, 0}});
    ASSERT_EQ(three.size(), 2);
    EXPECT_EQ(three.midpoints[1], Vector3(0, 1, 0));
}

TEST(StemShape, ChordRingsUseTheChordAsDiameterWhicheverWayTheOutlineRuns) {
    const PointList outline = mirroredOutline(20);
    StemShape pistil;
    pistil.buildAlongChords(pairChords(outline), 7);
    ASSERT_EQ(pistil.rows(), 11);
    // Ring 0 has the base chord as its diameter, in the plane y = 0.
    expectNear(pistil.positions.at(0, 0), outline[19]);
    expectNear(pistil.positions.at(0, 3), outline[0]);
    for (int j = 0; j < 7; ++j)
        expectNear(pistil.positions.at(10, j), outline[10]);
    // Normals point into the pistil.
    EXPECT_LT(pistil.normals.at(1, 0).x, 0.0);

    const PointList reversed(outline.rbegin(), outline.rend());
    StemShape again;
    again.buildAlongChords(pairChords(reversed), 7);
    ASSERT_EQ(again.rows(), 11);
    for (int r = 0; r < 11; ++r)
        for (int j = 0; j < 7; ++j)
            expectNear(again.positions.at(r, j), pistil.positions.at(r, j));
}
