#include "organs/Whorl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// A flat disc of radius 1 seen as a receptacle profile from its centre outwards:
// its length is 1, so a profile position p (in 1/300ths of the length) lies p / 300
// from the axis, and the band between two positions is a plain annulus.
const PointList kDisc = {{0, 0, 0}, {1, 0, 0}};

Whorl whorlOf(int count) {
    Whorl whorl;
    for (int i = 0; i < count; ++i) {
        whorl.parts.push_back(std::make_unique<FlowerPart>());
        whorl.parts.back()->index = i;
    }
    return whorl;
}

} // namespace

// Every slot of a ring stands on the ring circle in the direction of its azimuth,
// successive slots a whole turn divided by the ring's count apart from the phase on;
// a centred ring keeps its first slot on the axis and spreads the rest.
TEST(Whorl, RingsSpreadTheirSlotsEvenlyOverAWholeTurn) {
    constexpr double kRing = 150.0;
    constexpr double kPhase = 0.25;
    for (bool centred : {false, true})
        for (int n : {1, 2, 5, 8}) {
            SCOPED_TRACE(::testing::Message() << (centred ? "centred " : "") << n);
            Whorl whorl = whorlOf(n);
            whorl.layoutRing(kDisc, centred, kRing, kPhase);
            const int onRing = centred ? n - 1 : n;
            EXPECT_EQ(whorl.parts[0]->theta, kPhase);
            for (int i = 0; i < n; ++i) {
                const FlowerPart& slot = *whorl.parts[i];
                const bool onAxis = centred && i == 0;
                EXPECT_EQ(slot.radius, onAxis ? 0.0 : kRing);
                const double distance = onAxis ? 0.0 : kRing / 300.0;
                const Vector3 at = transformPoint(slot.basicTransAndRot, {});
                EXPECT_NEAR(at.x, distance * std::cos(slot.theta), 1e-12);
                EXPECT_NEAR(at.z, distance * std::sin(slot.theta), 1e-12);
                if (i > 0) {
                    EXPECT_NEAR(slot.theta - whorl.parts[i - 1]->theta, 2 * kPi / onRing, 1e-12);
                }
                EXPECT_EQ(slot.index, i);
            }
        }
}

// On the disc, the annulus from the band's inner edge out to radius r has the area
// of k organs of size c when r^2 = inner^2 + k c^2 (all in profile units): organ k
// of a band stands there with k + 1 organs' area behind it, a pistil band's one
// organ earlier, as its first pistil stands at the inner edge. Successive organs
// turn by the divergence angle, and the band holds as many as fit.
TEST(Whorl, BandsGiveEveryOrganAnEqualShareOfTheBandsArea) {
    constexpr double kInner = 60.0;
    constexpr double kOuter = 240.0;
    constexpr int kSize = 20;
    for (int code : {kWhorlPetal, kWhorlPistil}) {
        SCOPED_TRACE(code);
        Whorl whorl;
        whorl.layoutBand(code, kDisc, kInner, kOuter, kSize, 90.0);
        const int behind = code == kWhorlPistil ? 0 : 1;
        const auto expectedRadius = [&](int k) {
            return std::sqrt(kInner * kInner + (k + behind) * kSize * kSize);
        };
        int fitting = 0;
        while (expectedRadius(fitting) <= kOuter)
            ++fitting;
        EXPECT_NEAR(static_cast<double>(whorl.parts.size()), fitting, 1.0);
        for (int k = 0; k < static_cast<int>(whorl.parts.size()); ++k) {
            const FlowerPart& slot = *whorl.parts[k];
            EXPECT_NEAR(slot.radius, expectedRadius(k), 0.5) << k;
            EXPECT_LE(slot.radius, kOuter);
            EXPECT_NEAR(std::remainder(slot.theta - k * kPi / 2, 2 * kPi), 0.0, 1e-9);
            const Vector3 at = transformPoint(slot.basicTransAndRot, {});
            EXPECT_NEAR(std::hypot(at.x, at.z), slot.radius / 300.0, 1e-9);
            EXPECT_EQ(slot.index, k);
            EXPECT_EQ(slot.whorl, code);
            EXPECT_EQ(slot.size, kSize);
        }
    }
}
