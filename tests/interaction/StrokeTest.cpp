#include "interaction/Stroke.h"
#include "math/Diagnostics.h"
#include "support/HandDrawnPetal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

Stroke line(std::initializer_list<Vector3> pts) {
    return Stroke(PointList(pts));
}

// A zigzag whose every inner corner is far sharper than a pen turns: each one
// reads as a hook.
Stroke zigzag(int n) {
    Stroke s;
    for (int i = 0; i < n; ++i)
        s.add({i % 2 ? 0.2 : 0.0, 0.05 * i, 0});
    return s;
}

bool finite(const Vector3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

} // namespace

TEST(Stroke, ResampleOfZeroLengthGivesNPlusTwoPointsAtTheOrigin) {
    for (const Stroke& source : {Stroke(), line({{3, 4, 5}}), line({{1, 1, 1}, {1, 1, 1}})}) {
        Stroke target = line({{9, 9, 9}});
        Stroke::resample(20, source, target);
        ASSERT_EQ(target.size(), 23); // appended behind what was there
        for (int i = 1; i < 23; ++i)
            EXPECT_EQ(target.points[i], Vector3(0, 0, 0));
    }
    Stroke still = line({{1, 1, 1}, {1, 1, 1}});
    still.resampleInPlace(20);
    EXPECT_EQ(still.size(), 2);
}

TEST(Stroke, ResampleEndsExactlyOnTheLastPointWithEqualSpacing) {
    PenNoise noise(3);
    for (int run = 0; run < 40; ++run) {
        // Unevenly spaced points, some repeated, on a straight line: the samples
        // must be evenly spaced along it.
        const Vector3 from(noise.uniform(-3, 3), noise.uniform(-3, 3), noise.uniform(-1, 1));
        const Vector3 along = unit({noise.uniform(-1, 1), noise.uniform(-1, 1), 0.3});
        Stroke source;
        double t = 0;
        for (int i = 0; i < 5 + noise.below(200); ++i) {
            source.add(from + along * t);
            t += noise.below(4) == 0 ? 0.0 : noise.uniform(0.001, 0.3);
        }
        if (source.length() == 0.0)
            continue;
        const int N = 1 + noise.below(40);
        Stroke target;
        Stroke::resample(N, source, target);
        ASSERT_EQ(target.size(), N + 1);
        EXPECT_EQ(target.front(), source.front());
        EXPECT_EQ(target.back(), source.back());
        for (int i = 1; i <= N; ++i)
            EXPECT_NEAR(distance(target.points[i], target.points[i - 1]), source.length() / N,
                        1e-9);
    }
    // A curved hand-drawn stroke: its samples lie on it and it still ends on its end.
    const Stroke curved = drawPetal(noise).strokes[0];
    Stroke copy = curved;
    copy.resampleInPlace(20);
    ASSERT_EQ(copy.size(), 21);
    EXPECT_EQ(copy.back(), curved.back());
    for (const Vector3& p : copy.points)
        EXPECT_LT(distance(curved.nearestPoint(p), p), 1e-9);
}

TEST(Stroke, SplineResampleMeetsTheEndsAndCopiesShortStrokes) {
    Stroke one = line({{1, 2, 3}}), out;
    Stroke::splineResample(one, out, 10);
    EXPECT_EQ(out.points, one.points);

    Stroke s = line({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 1, 0}});
    Stroke samples;
    Stroke::splineResample(s, samples, 7);
    ASSERT_EQ(samples.size(), 7);
    EXPECT_NEAR(distance(samples.front(), s.front()), 0.0, 1e-12);
    EXPECT_NEAR(distance(samples.back(), s.back()), 0.0, 1e-12);
    // Half way the curve runs through the middle of the symmetric control polygon.
    EXPECT_NEAR(distance(samples.points[3], {1, 0.5, 0}), 0.0, 1e-12);
    s.splineSmooth();
    EXPECT_EQ(s.size(), 4);
}

TEST(Stroke, Smooth121UsesTheOriginalNeighbours) {
    Stroke s = line({{0, 0, 0}, {4, 1, 0}, {0, 2, 0}, {4, 3, 0}, {0, 4, 0}});
    s.smooth121();
    EXPECT_EQ(s.points, PointList({{0, 0, 0}, {2, 1, 0}, {2, 2, 0}, {2, 3, 0}, {0, 4, 0}}));
}

TEST(Stroke, RemoveHooksDropsAtMostSevenLeadingAndThreeTrailingPoints) {
    Stroke straight;
    for (int i = 0; i < 21; ++i)
        straight.add({0, 0.05 * i, 0});
    Stroke s = straight;
    s.removeHooks();
    EXPECT_EQ(s.points, straight.points);

    // A flick back at the start and at the end.
    Stroke hooked = straight;
    hooked.points[0] = {0.01, 0.1, 0};
    hooked.points[20] = {0.01, 0.9, 0};
    hooked.removeHooks();
    EXPECT_EQ(hooked.points, PointList(straight.points.begin() + 1, straight.points.end() - 1));

    const PointList z21 = zigzag(21).points;
    Stroke sharp(z21);
    sharp.removeHooks();
    EXPECT_EQ(sharp.points, PointList(z21.begin() + 7, z21.end() - 3));

    // Too short to scan: left alone, and never read past the end.
    for (int n = 0; n <= 8; ++n) {
        Stroke small = zigzag(n);
        small.removeHooks();
        EXPECT_EQ(small.points, zigzag(n).points) << n;
    }
    // Nine points lose seven at the head; the tail scan must stay inside the rest.
    const PointList z9 = zigzag(9).points;
    Stroke nine(z9);
    nine.removeHooks();
    EXPECT_EQ(nine.points, PointList(z9.begin() + 7, z9.end()));
}

TEST(Stroke, CutHeadAndTailFailOnTheEndSegmentsAndOffTheStroke) {
    const Stroke s = line({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0}});
    Stroke head = s;
    EXPECT_TRUE(head.cutHeadAt({0, 1.5, 0}));
    EXPECT_EQ(head.points, PointList({{0, 1.5, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0}}));
    Stroke tail = s;
    EXPECT_TRUE(tail.cutTailAt({0, 2.5, 0}));
    EXPECT_EQ(tail.points, PointList({{0, 0, 0}, {0, 2.5, 0}})); // two vertices before P go too
    for (const Vector3& P : {Vector3(0, 3.5, 0), Vector3(1, 2, 0)}) {
        Stroke cut = s;
        EXPECT_FALSE(cut.cutHeadAt(P));
        EXPECT_EQ(cut.points, s.points);
    }
    for (const Vector3& P : {Vector3(0, 0.5, 0), Vector3(1, 2, 0)}) {
        Stroke cut = s;
        EXPECT_FALSE(cut.cutTailAt(P));
        EXPECT_EQ(cut.points, s.points);
    }
}

TEST(Stroke, ExtendEndsAndRotateAboutZ) {
    Stroke s = line({{0, 0, 0}, {0, 1, 0}, {3, 1, 0}});
    s.extendEnds();
    EXPECT_EQ(s.points, PointList({{0, -1, 0}, {0, 1, 0}, {4, 1, 0}}));
    Stroke r = line({{1, 0, 5}});
    r.rotateAboutZ({1, 0, 0}, std::numbers::pi / 2); // translated first, then turned
    EXPECT_NEAR(distance(r.front(), {0, 2, 5}), 0.0, 1e-12);
}

TEST(Stroke, PointAtLengthWithinAndBeyondTheStroke) {
    const Stroke s = line({{0, 0, 0}, {2, 0, 0}, {2, 3, 0}});
    const auto mid = s.pointAtLength(3.0);
    EXPECT_EQ(mid.point, Vector3(2, 1, 0));
    EXPECT_EQ(mid.direction, Vector3(0, 1, 0));
    EXPECT_EQ(mid.segment, 1);
    const auto beyond = s.pointAtLength(10.0);
    EXPECT_EQ(beyond.point, Vector3(2, 3, 0));
    EXPECT_EQ(beyond.direction, Vector3(0, 3, 0));
    EXPECT_EQ(beyond.segment, 2);
}

TEST(Stroke, NearestPointAndTheArcLengthToIt) {
    const Stroke s = line({{0, 0, 0}, {2, 0, 0}, {2, 3, 0}});
    EXPECT_EQ(s.nearestPoint({1, 0.5, 0}), Vector3(1, 0, 0));
    EXPECT_EQ(s.nearestPoint({3, -1, 0}), Vector3(2, 0, 0)); // the corner vertex
    EXPECT_DOUBLE_EQ(s.lengthToNearest({2, 2, 0}), 4.0);     // on the stroke
    EXPECT_DOUBLE_EQ(s.lengthToNearest({2.5, 1, 0}), 3.0);   // beside it
}

TEST(Stroke, PickWithRay) {
    const Vector3 down(0, 0, -1);
    const auto single = line({{1, 2, 3}}).pickWithRay({4, 6, 10}, down);
    EXPECT_DOUBLE_EQ(single.distance, 5.0);
    EXPECT_EQ(single.point, Vector3(1, 2, 3));

    const auto through = line({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}).pickWithRay({1.3, 0, 5}, down);
    EXPECT_NEAR(through.distance, 0.0, 1e-12);
    EXPECT_NEAR(through.arcLength, 1.3, 1e-12);
    EXPECT_EQ(through.index, 1);

    // At a V both segments next to the nearest vertex are accepted and the one
    // before it wins: the arc length is measured back from the vertex.
    const Stroke v = line({{-1, 1, 0}, {0, 0, 0}, {1, 1, 0}});
    const auto corner = v.pickWithRay({-0.1, 0.5, 5}, down);
    const double back = 0.6 / std::sqrt(2.0);
    EXPECT_NEAR(corner.distance, 0.4 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(corner.arcLength, std::sqrt(2.0) - back, 1e-12);
    EXPECT_NEAR(distance(corner.point, {-back / std::sqrt(2.0), back / std::sqrt(2.0), 0}), 0.0,
                1e-12);
}

// The points go to the installed diagnostics sink as one message, and nowhere
// without one.
TEST(Stroke, PrintPointsIsOneDiagnosticMessageAndSilentWithoutASink) {
    const Stroke stroke = line({{1.5, -2, 0}, {0, 0.25, 1e6}});
    testing::internal::CaptureStderr();
    stroke.printPoints();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    std::vector<std::string> messages;
    const DiagnosticSink previous =
        installDiagnosticSink([&](std::string_view message) { messages.emplace_back(message); });
    stroke.printPoints();
    installDiagnosticSink(previous);
    EXPECT_EQ(messages, std::vector<std::string>{
                            "1.500000 -2.000000 0.000000\n0.000000 0.250000 1000000.000000"});
}

TEST(Stroke, EmptyAndOnePointStrokesGiveSafeValues) {
    for (const Stroke& s : {Stroke(), line({{1, 2, 3}})}) {
        const Vector3 P(4, 5, 6);
        EXPECT_EQ(s.length(), 0.0);
        EXPECT_EQ(s.pointAtLength(1.0).point, Vector3());
        EXPECT_EQ(s.nearestPoint(P), Vector3());
        EXPECT_EQ(s.lengthToNearest(P), 0.0);
        EXPECT_TRUE(std::isfinite(s.pickWithRay(P, {0, 0, 1}).distance));
        Stroke m = s;
        m.smooth121();
        m.splineSmooth();
        m.removeHooks();
        m.extendEnds();
        m.resampleInPlace(20);
        EXPECT_FALSE(m.cutHeadAt(s.empty() ? P : s.front()));
        EXPECT_FALSE(m.cutTailAt(s.empty() ? P : s.front()));
        EXPECT_EQ(m.points, s.points);
    }
    // Repeated points leave zero-length segments, which must not turn into NaNs.
    Stroke repeated = line({{1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {2, 1, 0}, {2, 1, 0}});
    repeated.extendEnds();
    repeated.splineSmooth();
    for (const Vector3& p : repeated.points)
        EXPECT_TRUE(finite(p));
    EXPECT_TRUE(finite(repeated.pointAtLength(0.0).direction));
    EXPECT_TRUE(finite(repeated.nearestPoint({5, 5, 0})));
}
