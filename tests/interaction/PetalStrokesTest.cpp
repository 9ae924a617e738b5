#include "interaction/PetalStrokes.h"
#include "support/HandDrawnPetal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

Stroke line(std::initializer_list<Vector3> pts) {
    return Stroke(PointList(pts));
}

// Every hand-drawn petal comes out as left, midrib, right sharing base and tip,
// with the base at the origin and the tip on +y, where the drawing put them.
void expectNormalisedPetal(const PetalSketch& sketch, const PetalStrokes& petal, double H) {
    for (const Stroke* s : {&petal.left, &petal.middle, &petal.right}) {
        ASSERT_GE(s->size(), 2);
        EXPECT_NEAR(distance(s->front(), {0, 0, 0}), 0.0, 1e-9);
        EXPECT_NEAR(s->back().x, 0.0, 1e-9);
        for (const Vector3& p : s->points)
            EXPECT_NEAR(p.z, 0.0, 1e-9);
    }
    const double tipY = petal.left.back().y;
    EXPECT_NEAR(tipY, H, 0.15 * H);
    const double mid = tipY / 2;
    EXPECT_LT(petal.left.xAtHeight(mid), petal.middle.xAtHeight(mid));
    EXPECT_LT(petal.middle.xAtHeight(mid), petal.right.xAtHeight(mid));
    // The midrib runs once from base to tip, not back and forth.
    EXPECT_LT(petal.middle.length(), 1.3 * tipY);
    // Base and tip are the crossings of the lengthened outline ends, a little
    // beyond the drawn ones when the outlines meet at a narrow angle.
    EXPECT_LT(distance(transformPoint(petal.matrix, sketch.base), {0, 0, 0}), 0.1 * H);
    EXPECT_LT(distance(transformPoint(petal.matrix, sketch.tip), {0, tipY, 0}), 0.2 * H);
}

} // namespace

TEST(PetalStrokes, HandDrawnTriplesInAnyOrderDirectionAndPlaceGiveLeftMidribRight) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        PenNoise noise(seed);
        PetalSketchStyle style;
        style.height = noise.uniform(0.5, 1.5);
        style.points = 30 + noise.below(170);
        style.hooks = seed % 3 != 0;
        style.oneReversed = seed % 2 == 0;
        const PetalSketch sketch = drawPetal(noise, style);
        PetalStrokes petal;
        ASSERT_TRUE(
            makePetalStrokes(sketch.strokes[0], sketch.strokes[1], sketch.strokes[2], petal));
        expectNormalisedPetal(sketch, petal, style.height);
    }
}

TEST(PetalStrokes, FailsWithoutTouchingAnythingOnTooShortOrPointLikeStrokes) {
    PenNoise noise(7);
    const PetalSketch sketch = drawPetal(noise);
    PetalStrokes petal;
    petal.left = line({{5, 5, 5}});
    const PetalStrokes before = petal;
    const Stroke twoPoints = line({{0, 0, 0}, {0, 1, 0}});
    const Stroke copyOfFirst = sketch.strokes[0];
    EXPECT_FALSE(makePetalStrokes(sketch.strokes[0], twoPoints, sketch.strokes[2], petal));
    EXPECT_FALSE(makePetalStrokes(line({{1, 1, 0}, {1, 1, 0}, {1, 1, 0}}), sketch.strokes[1],
                                  sketch.strokes[2], petal));
    EXPECT_EQ(petal.left.points, before.left.points);
    EXPECT_TRUE(petal.middle.empty() && petal.right.empty());
    EXPECT_EQ(sketch.strokes[0].points, copyOfFirst.points);
}

TEST(PetalStrokes, OutlinesThatCrossOnlyAtTheBaseFormNoPetal) {
    // A "V": the outlines part at the tip and meet only below the base.
    const Stroke left = line({{0, 0, 0}, {-0.25, 0.5, 0}, {-0.5, 1, 0}});
    const Stroke middle = line({{0.05, 0, 0}, {0.05, 0.5, 0}, {0.05, 1, 0}});
    const Stroke right = line({{0.1, 0, 0}, {0.35, 0.5, 0}, {0.6, 1, 0}});
    PetalStrokes petal;
    EXPECT_FALSE(makePetalStrokes(left, middle, right, petal));
    Stroke l = left, m = middle, r = right;
    EXPECT_FALSE(trimOutline(l, m, r));
    EXPECT_EQ(l.points, left.points);
    EXPECT_EQ(r.points, right.points);
}

TEST(PetalStrokes, TrimCutsOutlinesAtBaseAndTipAndFitsTheMidribBetween) {
    // A lens whose outlines run past each other at both ends.
    Stroke left, right, middle;
    for (int i = 0; i <= 10; ++i) {
        const double y = -0.1 + 1.2 * i / 10.0;
        const double x = 0.3 * std::sin(std::numbers::pi * i / 10.0) - 0.03;
        left.add({-x, y, 0});
        right.add({x, y, 0});
        middle.add({0.01, 0.1 * i, 0});
    }
    ASSERT_TRUE(trimOutline(left, middle, right));
    for (const Stroke* s : {&left, &right, &middle}) {
        EXPECT_NEAR(s->front().y, right.front().y, 1e-12);
        EXPECT_NEAR(s->back().y, right.back().y, 1e-12);
    }
    EXPECT_NEAR(left.front().x, 0.0, 1e-9);
    EXPECT_GT(left.front().y, -0.1);
    EXPECT_LT(left.back().y, 1.1);
    EXPECT_EQ(middle.front(), left.front());
    EXPECT_EQ(middle.back(), left.back());
    EXPECT_GT(middle.points[1].y, left.front().y + 0.1);
    EXPECT_LT(middle.points.end()[-2].y, left.back().y - 0.1);
}

TEST(PetalStrokes, BendProfileMeasuresTheBulgeAgainstTheDrawingDirection) {
    const struct {
        const char* name;
        Stroke stroke;
        double middle;
    } rows[] = {
        {"upwards, bulging left", line({{0, 0, 0}, {-0.2, 0.5, 0}, {0, 1, 0}}), -0.2},
        {"downwards, bulging left", line({{0, 1, 0}, {-0.2, 0.5, 0}, {0, 0, 0}}), 0.2},
        {"rightwards, bulging up", line({{0, 0, 0}, {0.5, 0.2, 0}, {1, 0, 0}}), 0.2},
        {"leftwards, bulging up", line({{1, 0, 0}, {0.5, 0.2, 0}, {0, 0, 0}}), 0.2},
        {"straight", line({{3, 3, 0}, {4, 4, 0}}), 0.0},
        {"closed", line({{0, 0, 0}, {1, 1, 0}, {0, 0, 0}}), 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Profile profile = bendProfile(row.stroke, 5);
        ASSERT_EQ(profile.size(), 5u);
        EXPECT_EQ(profile.front(), 0.0);
        EXPECT_EQ(profile.back(), 0.0);
        EXPECT_NEAR(profile[2], row.middle, 1e-12);
        EXPECT_NEAR(profile[1], row.middle / 2, 1e-12);
    }
    EXPECT_EQ(bendProfile(rows[0].stroke, 2), Profile(2, 0.0));
    EXPECT_TRUE(bendProfile(rows[0].stroke, 0).empty());
}

TEST(PetalStrokes, OrientProfileFlipsOnlyWhenTheCameraUpPointsBelowTheHorizon) {
    const Profile bend = {0, 0.1, -0.2, 0};
    const struct {
        Vector3 up;
        double sign;
    } rows[] = {{{0, 1, 0}, 1}, {{0, 0.5, 0.5}, 1}, {{0, 0.5, -0.5}, -1}, {{0, 0, -1}, -1}};
    for (const auto& row : rows) {
        Profile p = bend;
        orientProfile(p, row.up);
        EXPECT_EQ(p[1], row.sign * 0.1);
        EXPECT_EQ(p[2], row.sign * -0.2);
    }
}
