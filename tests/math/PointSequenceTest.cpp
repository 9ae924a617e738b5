#include "math/PointSequence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

const PointList kLine = {{0, 0, 0}, {1, 0, 0}, {1, 2, 0}};

void expectPointNear(const Vector3& a, const Vector3& b, double tolerance = 1e-12) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

} // namespace

TEST(PointSequence, LengthsOfShortAndBadRanges) {
    EXPECT_EQ(polylineLength({}), 0.0);
    EXPECT_EQ(polylineLength({{1, 2, 3}}), 0.0);
    EXPECT_EQ(polylineLength(kLine), 3.0);
    EXPECT_EQ(partialLength(kLine, 1, 2), 2.0);
    EXPECT_EQ(partialLength(kLine, 0, 3), 0.0);
    EXPECT_EQ(partialLength(kLine, -1, 2), 0.0);
    EXPECT_EQ(arcLengthFromPercent(150, kLine), 1.5);
}

TEST(PointSequence, PointAtArcLengthEnds) {
    expectPointNear(pointAtArcLength(kLine, 0), kLine.front());
    expectPointNear(pointAtArcLength(kLine, 2), {1, 1, 0});
    expectPointNear(pointAtArcLength(kLine, 17), kLine.back());
    // A repeated point is a zero-length segment: no NaN.
    const PointList repeated = {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}};
    expectPointNear(pointAtArcLength(repeated, 0.5), {0, 0.5, 0});
}

TEST(PointSequence, PlaceOnProfileAtTheTopStandsUpright) {
    const PointList profile = {{0, 1, 0}, {0.5, 0.5, 0}, {0.5, 0, 0}};
    const Matrix4 m = placeOnProfile(0.3, 0, profile);
    // No tilt: +y stays +y and the placement sits at the first profile point.
    expectPointNear(m.rotateVector({0, 1, 0}), {0, 1, 0});
    expectPointNear(m.translationPart(), {0, 1, 0});
}

TEST(PointSequence, PlaceOnProfileAtTheEndTiltsThreeQuarters) {
    const PointList profile = {{0, 1, 0}, {0.5, 0.5, 0}, {0.5, 0, 0}};
    const double theta = 0.0;
    const Matrix4 m = placeOnProfile(theta, 300, profile);
    // The tilt about x is -3pi/4; the azimuth turn then carries the organ towards theta.
    Matrix4 tilt;
    tilt.setRotationX(-3 * std::numbers::pi / 4);
    Matrix4 turn;
    turn.setRotationY(std::numbers::pi / 2 - theta + std::numbers::pi);
    const Vector3 expected = (turn * tilt).rotateVector({0, 1, 0});
    expectPointNear(m.rotateVector({0, 1, 0}), expected);
    expectPointNear(m.translationPart(), {0.5, 0, 0});
    // The organ leans outwards (towards +x for theta 0) and downwards.
    EXPECT_GT(expected.x, 0.0);
    EXPECT_LT(expected.y, 0.0);
}

TEST(PointSequence, PlaceOnProfileByArcLengthReportsThePosition) {
    const PointList profile = {{0, 1, 0}, {0.5, 1, 0}, {0.5, 0, 0}};
    double t = -1;
    const Matrix4 m = placeOnProfileByArcLength(std::numbers::pi / 2, 0.75, profile, t);
    EXPECT_DOUBLE_EQ(t, 150.0);
    expectPointNear(m.translationPart(), {0, 0.75, 0.5}, 1e-12);
    expectPointNear(m.translationPart(),
                    placeOnProfile(std::numbers::pi / 2, 150, profile).translationPart());
}

TEST(PointSequence, XAtHeightInterpolatesAndHandlesFlatSteps) {
    const PointList profile = {{0, 0, 0}, {2, 2, 0}, {4, 2, 0}, {4, 4, 0}};
    EXPECT_DOUBLE_EQ(xAtHeight(profile, 1), 1.0);
    // Below the first point: extrapolated along the first segment.
    EXPECT_DOUBLE_EQ(xAtHeight(profile, -1), -1.0);
    // Above every point: the last x.
    EXPECT_DOUBLE_EQ(xAtHeight(profile, 10), 4.0);
    // Two points at equal height above the query: the earlier point's x.
    const PointList flat = {{1, 5, 0}, {3, 5, 0}};
    EXPECT_DOUBLE_EQ(xAtHeight(flat, 0), 1.0);
    const PointList level = {{5, 0, 0}, {7, 0, 0}, {9, 2, 0}};
    EXPECT_DOUBLE_EQ(xAtHeight(level, 0), 7.0);
}

TEST(PointSequence, BSplineKernelAndOnePointCurve) {
    EXPECT_DOUBLE_EQ(bsplineBasis(0), 4.0 / 6.0);
    EXPECT_DOUBLE_EQ(bsplineBasis(1), 1.0 / 6.0);
    EXPECT_DOUBLE_EQ(bsplineBasis(-1), 1.0 / 6.0);
    EXPECT_EQ(bsplineBasis(2), 0.0);
    expectPointNear(bsplinePoint({{1, 2, 3}}, 0), {1, 2, 3}, 1e-15);
    // The repeated end points pull the curve onto its ends.
    const PointList pts = {{0, 0, 0}, {1, 0, 0}, {2, 3, 0}, {3, 3, 0}};
    const Vector3 start = bsplinePoint(pts, 0);
    EXPECT_NEAR(start.x, 1.0 / 6.0, 1e-15);
    // A straight evenly spaced line reproduces itself in the middle.
    const PointList line = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    expectPointNear(bsplinePoint(line, 2.5), {2.5, 0, 0}, 1e-14);
}

TEST(PointSequence, SegmentIntersectionCases) {
    Vector3 p;
    ASSERT_TRUE(segmentIntersection2D({0, 0, 5}, {2, 2, 5}, {0, 2, 1}, {2, 0, 1}, p));
    expectPointNear(p, {1, 1, 0});
    // Vertical against sloped, and both vertical.
    ASSERT_TRUE(segmentIntersection2D({1, -1, 0}, {1, 1, 0}, {0, 0, 0}, {2, 0.5, 0}, p));
    expectPointNear(p, {1, 0.25, 0});
    EXPECT_FALSE(segmentIntersection2D({1, -1, 0}, {1, 1, 0}, {1, 0, 0}, {1, 2, 0}, p));
    // Parallel and disjoint.
    EXPECT_FALSE(segmentIntersection2D({0, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 2, 0}, p));
    EXPECT_FALSE(segmentIntersection2D({0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, -1, 0}, p));
    // Touching ends count.
    EXPECT_TRUE(segmentIntersection2D({0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {2, 0, 0}, p));
}

TEST(PointSequence, PointOnSegmentAndInQuad) {
    EXPECT_TRUE(pointOnSegment2D({0, 0, 0}, {2, 2, 0}, {1, 1.0005, 0}));
    EXPECT_FALSE(pointOnSegment2D({0, 0, 0}, {2, 2, 0}, {1, 1.002, 0}));
    // The bounding-box test is exact: off a horizontal segment by any amount is off it.
    EXPECT_FALSE(pointOnSegment2D({0, 0, 0}, {2, 0, 0}, {1, 0.0005, 0}));
    EXPECT_FALSE(pointOnSegment2D({0, 0, 0}, {2, 0, 0}, {3, 0, 0}));
    EXPECT_TRUE(pointOnSegment2D({1, 1, 0}, {1, 1, 0}, {1, 1, 9}));
    const Vector3 c0(0, 0, 0), c1(2, 0, 0), c2(2, 2, 0), c3(0, 2, 0);
    EXPECT_TRUE(pointInQuad(c0, c1, c2, c3, {1, 1, 0}));
    EXPECT_TRUE(pointInQuad(c0, c1, c2, c3, {2, 1, 0}));
    EXPECT_TRUE(pointInQuad(c0, c1, c2, c3, {0, 0, 0}));
    EXPECT_FALSE(pointInQuad(c0, c1, c2, c3, {3, 1, 0}));
    EXPECT_TRUE(pointInQuad(c3, c2, c1, c0, {1, 1, 0}));
}

TEST(PointSequence, PolarOfPixelVector) {
    const PolarVector below = polarOfPixelVector(10, -5, 0, 0);
    EXPECT_GT(below.angle, std::numbers::pi);
    EXPECT_NEAR(below.radius, std::sqrt(125.0), 1e-12);
    const PolarVector above = polarOfPixelVector(0, 3, 0, 0);
    EXPECT_NEAR(above.angle, std::numbers::pi / 2, 1e-12);
    const PolarVector same = polarOfPixelVector(4, 4, 4, 4);
    EXPECT_EQ(same.radius, 0.0);
    EXPECT_FALSE(std::isnan(same.angle));
}

TEST(PointSequence, ScaleAndTransform) {
    PointList pts = kLine;
    scalePoints(pts, 2);
    expectPointNear(pts[2], {2, 4, 0});
    transformPoints(pts, Matrix4::translation({0, 0, 1}));
    expectPointNear(pts[2], {2, 4, 1});
}
