#include "organs/FlowerStemNode.h"

#include "model/ObjExport.h"
#include "model/Parameters.h"
#include "organs/OrganRecordSupport.h"

#include <gtest/gtest.h>

namespace {

// The built-in parameter values, which new organs are built with.
const Parameters kParameters;

Stroke upright(double height) {
    return straightStroke({0, 0, 0}, {0, height, 0}, 40);
}

// Distance of ring r's first point from the ring's centre.
double ringRadius(const StemShape& tube, int r) {
    Vector3 centre;
    const int n = tube.columns() - 1;
    for (int j = 0; j < n; ++j)
        centre += tube.positions.at(r, j) * (1.0 / n);
    return distance(tube.positions.at(r, 0), centre);
}

} // namespace

TEST(FlowerStemNode, RingCountFollowsTheDrawnLength) {
    const FlowerStemNode shortStem(1, upright(0.4), kParameters);
    EXPECT_EQ(shortStem.tube.rows(), 10);
    EXPECT_EQ(shortStem.mainAxis.size(), 11);
    const FlowerStemNode longStem(2, upright(1.2), kParameters);
    EXPECT_EQ(longStem.tube.rows(), 24);
    EXPECT_EQ(longStem.tube.columns(), 6);
    EXPECT_EQ(longStem.kind, kKindStem);
    EXPECT_EQ(longStem.diffuse, (Rgba{0.2f, 0.8f, 0.0f, 0.5f}));
    EXPECT_EQ(longStem.shininess, 128.0f);
}

TEST(FlowerStemNode, TakesResolutionsAndWidthFromTheParameters) {
    Parameters p;
    p.stem = {5, 9};
    p.stemWidthSteps = 200;
    const FlowerStemNode stem(1, upright(0.3), p);
    EXPECT_EQ(stem.m_resV, 5);
    EXPECT_EQ(stem.m_resH, 9);
    EXPECT_DOUBLE_EQ(stem.radius, 0.02);
    EXPECT_EQ(stem.tube.rows(), 5);
    EXPECT_EQ(stem.tube.columns(), 9);
}

TEST(FlowerStemNode, TipRingHasHalfTheBaseRadius) {
    const FlowerStemNode stem(1, upright(1.0), kParameters);
    const int last = stem.tube.rows() - 1;
    EXPECT_NEAR(ringRadius(stem.tube, 0), 0.008, 1e-12);
    EXPECT_NEAR(ringRadius(stem.tube, last), ringRadius(stem.tube, 0) * 0.5, 1e-12);
}

TEST(FlowerStemNode, ReshapeThickensByATenthOfTheChangeInLength) {
    FlowerStemNode stem(1, upright(0.6), kParameters);
    const double length = stem.mainAxis.length();
    const int rings = stem.tube.rows();
    stem.reshapeByStroke(straightStroke({0, 0, 0}, {0, 2 * length, 0}, 10));
    EXPECT_NEAR(stem.radius, 0.008 * 1.1, 1e-12);
    EXPECT_NEAR(stem.mainAxis.back().y, 2 * length, 1e-9);
    EXPECT_EQ(stem.tube.rows(), stem.ringCount(2 * length));

    // A shorter stroke never takes rings away, and re-sketching with the same stroke
    // keeps the ring count.
    const Stroke shorter = straightStroke({0, 0, 0}, {0, 0.2, 0}, 10);
    stem.reshapeByStroke(shorter);
    const int kept = stem.tube.rows();
    EXPECT_GE(kept, rings);
    stem.reshapeByStroke(shorter);
    EXPECT_EQ(stem.tube.rows(), kept);

    // Too short strokes are ignored.
    const double radius = stem.radius;
    stem.reshapeByStroke(straightStroke({0, 0, 0}, {0, 5, 0}, 1));
    EXPECT_EQ(stem.radius, radius);
    EXPECT_NEAR(stem.mainAxis.back().y, 0.2, 1e-9);
}

TEST(FlowerStemNode, ReshapeOfAStemWithoutLengthKeepsItsRadius) {
    FlowerStemNode stem(1, upright(0.6), kParameters);
    stem.scale(0.0);
    EXPECT_TRUE(stem.tube.empty());
    stem.reshapeByStroke(upright(1.0));
    EXPECT_EQ(stem.radius, 0.008);
    EXPECT_FALSE(stem.tube.empty());
    EXPECT_TRUE(allFinite(stem.tube.positions));
}

TEST(FlowerStemNode, ScaleChangesTheLengthButNotTheRadius) {
    FlowerStemNode stem(1, upright(0.8), kParameters);
    const double length = stem.mainAxis.length();
    stem.scale(2.0);
    EXPECT_NEAR(stem.mainAxis.length(), 2 * length, 1e-9);
    EXPECT_EQ(stem.radius, 0.008);
    EXPECT_EQ(stem.tube.rows(), stem.ringCount(2 * length));
    EXPECT_NEAR(ringRadius(stem.tube, 0), 0.008, 1e-12);
}

TEST(FlowerStemNode, OnlyTheTipDragScalesTheStem) {
    FlowerStemNode stem(1, upright(1.0), kParameters);
    const double height = stem.mainAxis.back().y;
    stem.editByPick(0, 2, {0, 3 * height, 0}, kParameters);
    EXPECT_EQ(stem.mainAxis.back().y, height);
    stem.editByPick(0, 1, {0, 0.0005, 0}, kParameters);
    EXPECT_EQ(stem.mainAxis.back().y, height);
    stem.editByPick(0, 1, {0, 1.5 * height, 0}, kParameters);
    EXPECT_NEAR(stem.mainAxis.back().y, 1.5 * height, 1e-9);

    // A stem hanging below its base cannot be dragged.
    FlowerStemNode hanging(2, straightStroke({0, 0, 0}, {0, -1, 0}, 10), kParameters);
    hanging.editByPick(0, 1, {0, 1, 0}, kParameters);
    EXPECT_LT(hanging.mainAxis.back().y, 0.0);
}

TEST(FlowerStemNode, CloneIsAnIndependentCopyWithAFreshId) {
    IdCounter ids;
    FlowerStemNode stem(ids.nextId(), upright(0.7), kParameters);
    stem.setTexture(true, 3, 4);
    stem.radius = 0.01;
    stem.rebuildTube();
    std::unique_ptr<FlowerObjectNode> copy = stem.clone(ids);
    auto& clone = static_cast<FlowerStemNode&>(*copy);
    EXPECT_NE(clone.id, stem.id);
    EXPECT_EQ(clone.kind, kKindStem);
    // The material goes through setMaterial, which sets every alpha to 0.4.
    EXPECT_EQ(clone.diffuse, (Rgba{0.2f, 0.8f, 0.0f, 0.4f}));
    EXPECT_TRUE(clone.hasTexture);
    EXPECT_EQ(clone.textureBack, 4);
    EXPECT_EQ(clone.radius, 0.01);
    EXPECT_EQ(clone.tube.positions, stem.tube.positions);
    clone.scale(3.0);
    EXPECT_NE(clone.tube.positions, stem.tube.positions);
    EXPECT_NEAR(stem.mainAxis.back().y, 0.7, 1e-9);
}

TEST(FlowerStemNode, RecordReadsBackToTheSameStem) {
    FlowerStemNode stem(1, upright(0.9), kParameters);
    stem.setMaterial({0.1f, 0.2f, 0.3f, 1}, {0.4f, 0.5f, 0.6f, 1}, {0.7f, 0.8f, 0.9f, 1}, 50.0f);
    const std::string text = recordOf(stem);
    EXPECT_EQ(text.rfind("stamen Color\ndiffuse 0.100000 0.200000 0.300000 0.400000\n", 0), 0u);
    EXPECT_NE(text.find("textureFront NON\ntextureBack NON\nm_resH 6\nm_resV 10\n"
                        "radius 0.008000\nmainAxis 19\n0 "),
              std::string::npos);

    const auto read = readRecord<FlowerStemNode>(text, "Stem");
    ASSERT_TRUE(read);
    EXPECT_EQ(recordOf(*read), text);
    EXPECT_EQ(read->diffuse, stem.diffuse);
    EXPECT_EQ(read->m_resH, 6);
    expectGridsNear(read->tube.positions, stem.tube.positions, 1e-5);
}

TEST(FlowerStemNode, ResolutionsOutsideTheParameterRangeAreClamped) {
    FlowerStemNode stem(1, upright(0.9), kParameters);
    std::string text = recordOf(stem);
    text.replace(text.find("m_resH 6"), 8, "m_resH 0");
    text.replace(text.find("m_resV 10"), 9, "m_resV 1000000");
    const auto read = readRecord<FlowerStemNode>(text, "Stem");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->m_resH, 3);
    EXPECT_EQ(read->m_resV, 100);
    EXPECT_EQ(read->tube.columns(), 3);

    text.replace(text.find("m_resH 0"), 8, "m_resH -7");
    ASSERT_TRUE(readRecord<FlowerStemNode>(text, "Stem"));
    EXPECT_FALSE(readRecord<FlowerStemNode>(text.substr(0, text.size() / 2), "Stem"));
}

TEST(FlowerStemNode, StemWithoutLengthExportsEmptyGroups) {
    Stroke still;
    for (int i = 0; i < 4; ++i)
        still.add({0.5, 0.5, 0});
    FlowerStemNode stem(8, still, kParameters);
    EXPECT_TRUE(stem.tube.empty());
    ObjExport out;
    EXPECT_EQ(stem.exportObj(out, Matrix4(), 12), 12);
    EXPECT_EQ(out.obj.str(), "g stemFront_0_8\nusemtl pistil8\ng stemBack_0_8\nusemtl pistil8\n");
    Vector3 lo, hi;
    stem.boundingBox(lo, hi, Matrix4(), true);
    EXPECT_EQ(lo, Vector3());
    EXPECT_EQ(hi, Vector3());
}

TEST(FlowerStemNode, ExportWritesBothSidesOfTheTube) {
    FlowerStemNode stem(4, upright(0.4), kParameters);
    ObjExport out;
    EXPECT_EQ(stem.exportObj(out, Matrix4(), 0), 2 * 10 * 6);
    EXPECT_EQ(out.obj.str().rfind("g stemFront_0_4\nusemtl pistil4\nv ", 0), 0u);
    EXPECT_NE(out.obj.str().find("g stemBack_0_4\nusemtl pistil4\n"), std::string::npos);
}
