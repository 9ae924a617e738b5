#include "math/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Vector3, NormalizeZeroKeepsValueAndMarksDegenerate) {
    Vector3 v;
    EXPECT_FALSE(v.normalize());
    EXPECT_TRUE(v.degenerate);
    EXPECT_EQ(v, Vector3(0, 0, 0));
}

TEST(Vector3, NormalizedZeroSpreadsNoNaN) {
    Vector3 v;
    const Vector3 copy = v.normalized();
    EXPECT_FALSE(std::isnan(copy.x) || std::isnan(copy.y) || std::isnan(copy.z));
    EXPECT_TRUE(copy.degenerate);
}

TEST(Vector3, OperationsClearTheDegenerateFlag) {
    Vector3 v;
    v.normalize();
    ASSERT_TRUE(v.degenerate);
    v += Vector3(1, 0, 0);
    EXPECT_FALSE(v.degenerate);
    Vector3 w;
    w.normalize();
    w.set(0, 3, 4);
    EXPECT_FALSE(w.degenerate);
    EXPECT_TRUE(w.normalize());
    EXPECT_DOUBLE_EQ(w.y, 0.6);
    EXPECT_DOUBLE_EQ(w.z, 0.8);
}

TEST(Vector3, CrossAndDotFollowTheRightHandRule) {
    const Vector3 x(1, 0, 0), y(0, 1, 0);
    EXPECT_EQ(cross(x, y), Vector3(0, 0, 1));
    EXPECT_EQ(cross(y, x), Vector3(0, 0, -1));
    EXPECT_DOUBLE_EQ(dot(Vector3(1, 2, 3), Vector3(4, -5, 6)), 12.0);
}
