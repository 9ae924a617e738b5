#include "interaction/StrokeGeometry.h"
#include "support/HandDrawnPetal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// The rotation part maps u onto v, keeps lengths and is proper (no mirror).
void expectRotationOnto(const RotationBetween& r, const Vector3& u, const Vector3& v) {
    EXPECT_NEAR(distance(transformPoint(r.matrix, unit(u)), unit(v)), 0.0, 1e-9);
    EXPECT_NEAR(distance(transformPoint(r.matrix, r.axis), r.axis), 0.0, 1e-9);
    EXPECT_NEAR(r.axis.length(), 1.0, 1e-12);
    EXPECT_EQ(r.matrix.translationPart(), Vector3());
    const Matrix4 m = r.matrix;
    EXPECT_NEAR(
        dot(cross(m.rotateVector({1, 0, 0}), m.rotateVector({0, 1, 0})), m.rotateVector({0, 0, 1})),
        1.0, 1e-9);
}

} // namespace

TEST(StrokeGeometry, DistancesToLinesAndAxes) {
    EXPECT_DOUBLE_EQ(distanceToLine({0, 0, 0}, {2, 0, 0}, {5, 3, 4}), 5.0);
    EXPECT_DOUBLE_EQ(distanceToLine({1, 1, 1}, {1, 1, 1}, {1, 4, 5}), 5.0); // A = B: to A
    EXPECT_DOUBLE_EQ(distanceToAxis({5, 3, 4}, {-1, 0, 0}, {1, 0, 0}), 5.0);
}

TEST(StrokeGeometry, SignedAngleTakesItsSignFromTheNormalAndSurvivesRounding) {
    EXPECT_DOUBLE_EQ(signedAngle({1, 0, 0}, {0, 2, 0}, {0, 0, 1}), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(signedAngle({1, 0, 0}, {0, 2, 0}, {0, 0, -1}), -std::numbers::pi / 2);
    // Equal directions whose unit dot product rounds above 1.
    const Vector3 a(0.1, 0.3, 0.6);
    EXPECT_EQ(signedAngle(a, a * 3.0, {0, 0, 1}), 0.0);
    EXPECT_NEAR(signedAngle(a, -a, {0, 0, 1}), std::numbers::pi, 1e-7);
}

TEST(StrokeGeometry, ClosestApproachOfParallelAntiparallelSkewAndCrossingLines) {
    const auto parallel = closestApproach({0, 0, 0}, {0, 0, 2}, {3, 4, 7}, {0, 0, 1});
    EXPECT_DOUBLE_EQ(parallel.distance, 5.0);
    EXPECT_EQ(parallel.s, 0.0);
    const auto opposite = closestApproach({0, 0, 0}, {0, 0, 1}, {3, 4, 7}, {0, 0, -1});
    EXPECT_DOUBLE_EQ(opposite.distance, 5.0);
    // x axis against the line through (2, 5, 3) along y: closest at x = 2, 3 apart.
    const auto skew = closestApproach({0, 0, 0}, {1, 0, 0}, {2, 5, 3}, {0, 1, 0});
    EXPECT_NEAR(skew.distance, 3.0, 1e-12);
    EXPECT_NEAR(skew.s, 2.0, 1e-12);
    const auto crossing = closestApproach({-1, -1, 0}, {1, 1, 0}, {0, 2, 0}, {1, -1, 0});
    EXPECT_NEAR(crossing.distance, 0.0, 1e-12);
    EXPECT_NEAR(crossing.s, std::sqrt(8.0), 1e-12);
}

TEST(StrokeGeometry, RotationBetweenEqualPerpendicularAndArbitraryDirections) {
    const RotationBetween same = rotationBetween({1, 2, 3}, {2, 4, 6});
    EXPECT_EQ(same.matrix, Matrix4());
    EXPECT_EQ(same.axis, Vector3(0, 0, 1));
    EXPECT_EQ(rotationBetween({0, 0, 0}, {1, 0, 0}).matrix, Matrix4());

    const RotationBetween quarter = rotationBetween({0, 1, 0}, {3, 0, 0});
    expectRotationOnto(quarter, {0, 1, 0}, {1, 0, 0});
    EXPECT_EQ(quarter.axis, Vector3(0, 0, -1));
    PenNoise noise(11);
    for (int i = 0; i < 50; ++i) {
        const Vector3 u(noise.uniform(-1, 1), noise.uniform(-1, 1), noise.uniform(-1, 1));
        const Vector3 v(noise.uniform(-1, 1), noise.uniform(-1, 1), noise.uniform(-1, 1));
        expectRotationOnto(rotationBetween(u, v), u, v);
    }
}

TEST(StrokeGeometry, RotationBetweenOppositeDirectionsIsAHalfTurnAboutAPerpendicular) {
    const Vector3 directions[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, -1}, {1, 2, 3}, {-0.3, 0.1, 0.9}};
    for (const Vector3& u : directions) {
        SCOPED_TRACE(testing::Message() << u.x << " " << u.y << " " << u.z);
        // Opposite after normalising, with a different length on each side.
        const RotationBetween r = rotationBetween(u, u * -2.5);
        expectRotationOnto(r, u, -u);
        EXPECT_NEAR(dot(r.axis, unit(u)), 0.0, 1e-12);
        // Rounding leaves a cross product of noise, which must not be the axis.
        const Vector3 nearly = -u + Vector3(1e-17, -1e-17, 1e-17);
        expectRotationOnto(rotationBetween(u, nearly), u, nearly);
    }
    EXPECT_EQ(rotationBetween({0, 1, 0}, {0, -1, 0}).axis, Vector3(0, 0, -1));
}
