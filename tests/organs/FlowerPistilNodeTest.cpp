#include "organs/FlowerPistilNode.h"

#include "model/ObjExport.h"
#include "model/Parameters.h"
#include "organs/OrganRecordSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// The built-in parameter values, which new organs are built with.
const Parameters kParameters;

// An arch drawn up the left side and down the right, ending `drop` below its start.
Stroke arch(double drop, int points = 40) {
    Stroke s;
    for (int i = 0; i < points; ++i) {
        const double t = std::numbers::pi * i / (points - 1);
        const double end = drop * i / (points - 1);
        s.add({-0.05 * std::cos(t), 0.4 * std::sin(t) + 0.1 - end, 0});
    }
    return s;
}

Stroke reversed(const Stroke& s) {
    Stroke r = s;
    std::reverse(r.points.begin(), r.points.end());
    return r;
}

// Up the left side from (-0.1, 0), down the right side: n points whose sides mirror.
Stroke mirroredOutline(int n) {
    Stroke s;
    const int half = n / 2;
    for (int i = 0; i < half; ++i) {
        const double t = static_cast<double>(i) / (half - 1);
        s.add({-0.1 * (1.0 - t * t), t, 0.0});
    }
    for (int i = half - 1; i >= 0; --i)
        s.add({-s.points[i].x, s.points[i].y, 0.0});
    return s;
}

double ringRadius(const StemShape& shape, int r) {
    Vector3 centre;
    const int n = shape.columns() - 1;
    for (int j = 0; j < n; ++j)
        centre += shape.positions.at(r, j) * (1.0 / n);
    return distance(shape.positions.at(r, 0), centre);
}

} // namespace

TEST(FlowerPistilNode, OutlineIsClosedAtItsHigherEndCentredAndResampled) {
    const FlowerPistilNode pistil(1, arch(-0.05), kParameters);
    EXPECT_EQ(pistil.kind, kKindPistil);
    EXPECT_EQ(pistil.diffuse, (Rgba{0.8f, 0.8f, 0.1f, 1.0f}));
    ASSERT_EQ(pistil.m_basicCurve.size(), 20);
    const Vector3 first = pistil.m_basicCurve.front();
    const Vector3 last = pistil.m_basicCurve.back();
    // The closing segment runs straight down from the higher (right) end, and the
    // middle between the two ends is the origin.
    EXPECT_NEAR(first.y, last.y, 1e-12);
    EXPECT_LT(distance((first + last) * 0.5, Vector3()), 1e-12);
    EXPECT_GT(pistil.tube.rows(), 5);
    EXPECT_EQ(pistil.tube.columns(), 6);
    EXPECT_EQ(pistil.controlPoint, pistil.mainAxis.back());
    EXPECT_GT(pistil.controlPoint.y, 0.3);
}

TEST(FlowerPistilNode, StrokesDrawnEitherWayRoundGiveTheSamePistil) {
    // One ends lower than it starts and is closed at its beginning, its reverse is
    // closed at its end.
    const FlowerPistilNode down(1, arch(0.05), kParameters);
    const FlowerPistilNode up(2, reversed(arch(0.05)), kParameters);
    const StemShape& a = down.tube;
    const StemShape& b = up.tube;
    ASSERT_EQ(a.rows(), b.rows());
    // The pairing ends on the top point of the side it walks last, so only the
    // closing ring (and the normals next to it) may differ, by one outline step.
    const double step = distance(down.m_basicCurve.points[9], down.m_basicCurve.points[10]);
    for (int r = 0; r + 2 < a.rows(); ++r)
        for (int j = 0; j < a.columns(); ++j) {
            EXPECT_LT(distance(a.positions.at(r, j), b.positions.at(r, j)), 1e-6) << r;
            EXPECT_LT(distance(a.normals.at(r, j), b.normals.at(r, j)), 1e-4) << r;
        }
    EXPECT_LE(distance(up.controlPoint, down.controlPoint), step + 1e-9);
    // Either way the normals point into the pistil.
    for (const FlowerPistilNode* pistil : {&down, &up}) {
        const Vector3 p = pistil->tube.positions.at(2, 0);
        EXPECT_LT(dot(pistil->tube.normals.at(2, 0), p - pistil->mainAxis.points[2]), 0.0);
    }
}

TEST(FlowerPistilNode, MirroredTwentyPointOutlineGivesElevenRingsClosedAtTheTop) {
    FlowerPistilNode pistil(1);
    pistil.m_resV = 10;
    pistil.m_resH = 6;
    pistil.m_basicCurve = mirroredOutline(20);
    pistil.buildPistil();
    ASSERT_EQ(pistil.tube.rows(), 11);
    EXPECT_NEAR(ringRadius(pistil.tube, 0), 0.1, 1e-12);
    EXPECT_NEAR(ringRadius(pistil.tube, 10), 0.0, 1e-12);
    EXPECT_EQ(pistil.controlPoint, pistil.m_basicCurve.points[10]);
    EXPECT_EQ(pistil.mainAxis.size(), 11);
}

TEST(FlowerPistilNode, ReshapeCarriesEveryChordOntoTheNewAxis) {
    FlowerPistilNode pistil(1, arch(0.0), kParameters);
    const double height = pistil.controlPoint.y;
    const double widest = ringRadius(pistil.tube, 1);

    pistil.reshapeByStroke(straightStroke({3, 3, 0}, {3, 3 + 2 * height, 0}, 12));
    EXPECT_EQ(pistil.m_basicCurve.size(), 20);
    // The new axis starts at the pistil's base and is twice as long; the chords keep
    // their widths.
    EXPECT_LT(distance(pistil.mainAxis.front(), Vector3()), 0.01);
    // Smoothing the new outline rounds its tip a little.
    EXPECT_NEAR(pistil.controlPoint.y, 2 * height, 0.2 * height);
    EXPECT_NEAR(ringRadius(pistil.tube, 1), widest, 0.25 * widest);

    // Laid along +x the chords keep their vertical offsets: the pistil flattens.
    pistil.reshapeByStroke(straightStroke({0, 0, 0}, {1, 0, 0}, 12));
    EXPECT_NEAR(pistil.controlPoint.x, 1.0, 0.05);
    EXPECT_NEAR(pistil.controlPoint.y, 0.0, 0.05);

    const Stroke before = pistil.m_basicCurve;
    pistil.reshapeByStroke(straightStroke({0, 0, 0}, {0, 1, 0}, 1));
    EXPECT_EQ(pistil.m_basicCurve.points, before.points);
    EXPECT_TRUE(allFinite(pistil.tube.positions));
}

TEST(FlowerPistilNode, ScaleAndTipDrag) {
    FlowerPistilNode pistil(1, arch(0.02), kParameters);
    const Vector3 top = pistil.controlPoint;
    pistil.scale(2.0);
    EXPECT_LT(distance(pistil.controlPoint, top * 2.0), 1e-12);

    pistil.editByPick(0, 2, {0, 5, 0}, kParameters);
    pistil.editByPick(0, 1, {0, 0.05, 0}, kParameters);
    EXPECT_LT(distance(pistil.controlPoint, top * 2.0), 1e-12);
    pistil.editByPick(0, 1, {0, top.y, 0}, kParameters);
    EXPECT_NEAR(pistil.controlPoint.y, top.y, 1e-12);
    EXPECT_NEAR(ringRadius(pistil.tube, 1),
                ringRadius(FlowerPistilNode(2, arch(0.02), kParameters).tube, 1), 1e-12);
}

TEST(FlowerPistilNode, CloneRebuildsFromTheOutline) {
    IdCounter ids;
    FlowerPistilNode pistil(ids.nextId(), arch(0.02), kParameters);
    pistil.setTexture(true, 1, -1);
    std::unique_ptr<FlowerObjectNode> copy = pistil.clone(ids);
    auto& clone = static_cast<FlowerPistilNode&>(*copy);
    EXPECT_NE(clone.id, pistil.id);
    EXPECT_EQ(clone.diffuse, (Rgba{0.8f, 0.8f, 0.1f, 0.4f}));
    EXPECT_EQ(clone.textureFront, 1);
    EXPECT_EQ(clone.tube.positions, pistil.tube.positions);
    EXPECT_EQ(clone.controlPoint, pistil.controlPoint);
    clone.scale(0.5);
    EXPECT_NE(clone.controlPoint, pistil.controlPoint);
}

TEST(FlowerPistilNode, RecordRunsTheResolutionsIntoTheOutlineHeading) {
    FlowerPistilNode pistil(1, arch(0.02), kParameters);
    pistil.setMaterial(pistil.diffuse, pistil.specular, pistil.ambient, pistil.shininess);
    const std::string text = recordOf(pistil);
    EXPECT_EQ(text.rfind("pistil Color\n", 0), 0u);
    EXPECT_NE(text.find("textureBack NON\nm_resV 10m_resH 6m_basicCurve 20\n0 "),
              std::string::npos);
    const auto read = readRecord<FlowerPistilNode>(text, "Pistil");
    ASSERT_TRUE(read);
    EXPECT_EQ(recordOf(*read), text);
    expectGridsNear(read->tube.positions, pistil.tube.positions, 1e-5);
    EXPECT_EQ(read->diffuse, pistil.diffuse);

    std::string changed = text;
    changed.replace(changed.find("m_resV 10m_resH 6"), 17, "m_resV 0m_resH 900");
    const auto clamped = readRecord<FlowerPistilNode>(changed, "Pistil");
    ASSERT_TRUE(clamped);
    EXPECT_EQ(clamped->m_resV, 3);
    EXPECT_EQ(clamped->m_resH, 100);
    EXPECT_EQ(clamped->tube.columns(), 100);
}

TEST(FlowerPistilNode, OutlineWithoutExtentIsDegenerateButFinite) {
    Stroke still;
    for (int i = 0; i < 6; ++i)
        still.add({0.2, 0.2, 0});
    FlowerPistilNode pistil(3, still, kParameters);
    EXPECT_TRUE(allFinite(pistil.tube.positions));
    EXPECT_TRUE(allFinite(pistil.tube.normals));
    pistil.reshapeByStroke(still);
    EXPECT_TRUE(allFinite(pistil.tube.positions));
    ObjExport out;
    pistil.exportObj(out, Matrix4(), 0);
    EXPECT_EQ(out.obj.str().find("nan"), std::string::npos);
    EXPECT_EQ(out.mtl.str().rfind("newmtl pistil3\n", 0), 0u);
}
