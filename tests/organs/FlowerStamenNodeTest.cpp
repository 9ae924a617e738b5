#include "organs/FlowerStamenNode.h"

#include "model/ObjExport.h"
#include "model/Parameters.h"
#include "organs/OrganRecordSupport.h"

#include <gtest/gtest.h>

namespace {

// The built-in parameter values, which new organs are built with.
const Parameters kParameters;

Stroke filamentStroke(int points = 25) {
    return straightStroke({0, 0, 0}, {0.1, 0.6, 0}, points - 1);
}

// A short curved anther stroke of `points` points near the filament's tip.
Stroke antherStroke(int points) {
    Stroke s;
    for (int i = 0; i < points; ++i) {
        const double t = static_cast<double>(i) / (points - 1);
        s.add({0.05 + 0.06 * t, 0.6 + 0.02 * t * (1 - t), 0});
    }
    return s;
}

double ringRadius(const StemShape& shape, int r) {
    Vector3 centre;
    const int n = shape.columns() - 1;
    for (int j = 0; j < n; ++j)
        centre += shape.positions.at(r, j) * (1.0 / n);
    return distance(shape.positions.at(r, 0), centre);
}

std::unique_ptr<FlowerStamenNode> stamenWithAnther(int id = 1) {
    auto stamen = std::make_unique<FlowerStamenNode>(id, filamentStroke(), kParameters);
    stamen->setAnther(antherStroke(8), kParameters);
    return stamen;
}

} // namespace

TEST(FlowerStamenNode, NewStamenHas31AxisPointsAndNoAnther) {
    for (int points : {3, 12, 200}) {
        const FlowerStamenNode stamen(1, filamentStroke(points), kParameters);
        EXPECT_EQ(stamen.mainAxis.size(), 31) << points;
        EXPECT_TRUE(stamen.anther.empty());
        EXPECT_EQ(stamen.antherRows, 0);
        EXPECT_EQ(stamen.antherColumns, 0);
    }
    const FlowerStamenNode stamen(1, filamentStroke(), kParameters);
    EXPECT_EQ(stamen.kind, kKindStamen);
    EXPECT_EQ(stamen.filament.rows(), 10);
    EXPECT_EQ(stamen.filament.columns(), 6);
    EXPECT_DOUBLE_EQ(stamen.radius, 0.005);
    EXPECT_NEAR(ringRadius(stamen.filament, 0), 0.005, 1e-12);
    EXPECT_NEAR(ringRadius(stamen.filament, 9), 0.0015, 1e-12);
    EXPECT_EQ(stamen.antherMaterial.ambient, (Rgba{0.4f, 0.15f, 0.1f, 1.0f}));
}

TEST(FlowerStamenNode, AntherNeedsFivePointsAndClosesAtBothEnds) {
    FlowerStamenNode stamen(1, filamentStroke(), kParameters);
    stamen.setAnther(antherStroke(4), kParameters);
    EXPECT_TRUE(stamen.anther.empty());
    EXPECT_TRUE(stamen.m_antherAxis.empty());

    stamen.setAnther(antherStroke(5), kParameters);
    ASSERT_EQ(stamen.anther.rows(), 10);
    EXPECT_EQ(stamen.anther.columns(), 6);
    EXPECT_DOUBLE_EQ(stamen.antherRadius, 0.012);
    EXPECT_NEAR(ringRadius(stamen.anther, 0), 0.0, 1e-12);
    EXPECT_NEAR(ringRadius(stamen.anther, 9), 0.0, 1e-12);
    EXPECT_GT(ringRadius(stamen.anther, 4), 0.012);
    // The anther stays where it was drawn: its axis starts at the origin and the
    // placement carries it to the stroke's first point.
    EXPECT_EQ(stamen.m_antherAxis.front(), Vector3());
    EXPECT_EQ(stamen.RotAndTrans.translationPart(), antherStroke(5).front());

    stamen.removeAnther();
    EXPECT_TRUE(stamen.anther.empty());
    EXPECT_EQ(stamen.antherColumns, 0);
    EXPECT_FALSE(stamen.m_antherAxis.empty());
}

TEST(FlowerStamenNode, AntherMaterialKeepsItsAlphas) {
    FlowerStamenNode stamen(1, filamentStroke(), kParameters);
    stamen.setAntherMaterial({0.1f, 0.2f, 0.3f, 0.9f}, {0.4f, 0.5f, 0.6f, 0.8f},
                             {0.7f, 0.8f, 0.9f, 0.7f}, 12.0f);
    EXPECT_EQ(stamen.antherMaterial.ambient, (Rgba{0.1f, 0.2f, 0.3f, 0.9f}));
    EXPECT_EQ(stamen.antherMaterial.diffuse, (Rgba{0.4f, 0.5f, 0.6f, 0.8f}));
    EXPECT_EQ(stamen.antherMaterial.specular, (Rgba{0.7f, 0.8f, 0.9f, 0.7f}));
    EXPECT_EQ(stamen.antherMaterial.shininess, 12.0f);
}

TEST(FlowerStamenNode, EnlargingKeepsTheThicknessShrinkingThinsIt) {
    auto owned = stamenWithAnther();
    FlowerStamenNode& stamen = *owned;
    const double length = stamen.mainAxis.length();
    const double antherLength = stamen.m_antherAxis.length();
    stamen.scale(2.0);
    EXPECT_NEAR(stamen.mainAxis.length(), 2 * length, 1e-9);
    EXPECT_DOUBLE_EQ(stamen.radius, 0.005);
    EXPECT_DOUBLE_EQ(stamen.antherRadius, 0.012);
    EXPECT_NEAR(stamen.m_antherAxis.length(), antherLength, 1e-12);

    stamen.scale(0.5);
    EXPECT_NEAR(stamen.mainAxis.length(), length, 1e-9);
    EXPECT_DOUBLE_EQ(stamen.radius, 0.0025);
    EXPECT_DOUBLE_EQ(stamen.antherRadius, 0.006);
    EXPECT_NEAR(stamen.m_antherAxis.length(), antherLength / 2, 1e-12);
    EXPECT_NEAR(ringRadius(stamen.filament, 0), 0.0025, 1e-12);
}

TEST(FlowerStamenNode, EditsPutTheAntherMiddleOnTheTip) {
    auto owned = stamenWithAnther();
    FlowerStamenNode& stamen = *owned;
    stamen.scale(1.5);
    const Vector3 middle = stamen.m_antherAxis.points[stamen.m_antherAxis.size() / 2];
    const Vector3 placed = transformPoint(stamen.RotAndTrans, middle);
    EXPECT_LT(distance(placed, stamen.mainAxis.back()), 1e-12);

    stamen.reshapeByStroke(straightStroke({0, 0, 0}, {0, 1.0, 0}, 5));
    EXPECT_EQ(stamen.mainAxis.size(), stamen.filamentRows + 1);
    const Vector3 again = transformPoint(
        stamen.RotAndTrans, stamen.m_antherAxis.points[stamen.m_antherAxis.size() / 2]);
    EXPECT_LT(distance(again, Vector3(0, 1.0, 0)), 1e-12);
}

TEST(FlowerStamenNode, ReshapeThinsOnlyWhenTheStrokeIsShorter) {
    auto owned = stamenWithAnther();
    FlowerStamenNode& stamen = *owned;
    const double length = stamen.mainAxis.length();
    stamen.reshapeByStroke(straightStroke({0, 0, 0}, {0, 3 * length, 0}, 9));
    EXPECT_DOUBLE_EQ(stamen.radius, 0.005);
    stamen.reshapeByStroke(straightStroke({0, 0, 0}, {0, 1.5 * length, 0}, 9));
    EXPECT_NEAR(stamen.radius, 0.0025, 1e-12);
    EXPECT_NEAR(stamen.antherRadius, 0.006, 1e-12);
    stamen.reshapeByStroke(straightStroke({0, 0, 0}, {0, 0.1, 0}, 1));
    EXPECT_NEAR(stamen.mainAxis.length(), 1.5 * length, 1e-9);
}

TEST(FlowerStamenNode, TipDragMovesTheAntherWithoutRebuildingIt) {
    Parameters p;
    auto owned = stamenWithAnther();
    FlowerStamenNode& stamen = *owned;
    stamen.scale(0.5);
    const Grid antherBefore = stamen.anther.positions;
    const Vector3 translation = stamen.RotAndTrans.translationPart();
    const double height = stamen.mainAxis.back().y;

    stamen.editByPick(0, 1, {0, 2 * height, 0}, p);
    EXPECT_EQ(stamen.mainAxis.back().y, height);
    stamen.editByPick(0, 2, {0, 0.001, 0}, p);
    EXPECT_EQ(stamen.mainAxis.back().y, height);

    p.stamenWidthSteps = 70;
    stamen.editByPick(0, 2, {0, 2 * height, 0}, p);
    EXPECT_NEAR(stamen.mainAxis.back().y, 2 * height, 1e-12);
    EXPECT_DOUBLE_EQ(stamen.radius, 0.007);
    EXPECT_NEAR(ringRadius(stamen.filament, 0), 0.007, 1e-12);
    EXPECT_LT(distance(stamen.RotAndTrans.translationPart(), translation * 2.0), 1e-12);
    EXPECT_EQ(stamen.anther.positions, antherBefore);
}

TEST(FlowerStamenNode, CloneCopiesBothShapesAndMaterials) {
    IdCounter ids;
    auto owned = stamenWithAnther(ids.nextId());
    FlowerStamenNode& stamen = *owned;
    stamen.setAntherMaterial({0.1f, 0.1f, 0.1f, 0.9f}, {0.2f, 0.2f, 0.2f, 0.9f},
                             {0.3f, 0.3f, 0.3f, 0.9f}, 7.0f);
    std::unique_ptr<FlowerObjectNode> copy = stamen.clone(ids);
    auto& clone = static_cast<FlowerStamenNode&>(*copy);
    EXPECT_NE(clone.id, stamen.id);
    EXPECT_EQ(clone.antherMaterial.diffuse, (Rgba{0.2f, 0.2f, 0.2f, 0.9f}));
    EXPECT_EQ(clone.diffuse.a, 0.4f);
    EXPECT_EQ(clone.filament.positions, stamen.filament.positions);
    EXPECT_EQ(clone.anther.positions, stamen.anther.positions);
    EXPECT_EQ(clone.RotAndTrans, stamen.RotAndTrans);
    clone.scale(0.5);
    clone.removeAnther();
    EXPECT_FALSE(stamen.anther.empty());
    EXPECT_DOUBLE_EQ(stamen.radius, 0.005);
}

TEST(FlowerStamenNode, BoundingBoxHoldsTheAntherWhereItIsPlaced) {
    auto owned = stamenWithAnther();
    FlowerStamenNode& stamen = *owned;
    stamen.RotAndTrans = Matrix4::translation({5, 0, 0});
    Vector3 lo, hi;
    stamen.boundingBox(lo, hi, Matrix4(), true);
    EXPECT_GT(hi.x, 5.0);
    EXPECT_NEAR(hi.y, 0.6, 0.02);
    EXPECT_LE(lo.x, 0.0);
}

TEST(FlowerStamenNode, RecordKeepsTheAntherColoursAndPlacementWhole) {
    auto owned = stamenWithAnther();
    FlowerStamenNode& stamen = *owned;
    stamen.setMaterial(stamen.diffuse, stamen.specular, stamen.ambient, stamen.shininess);
    stamen.setAntherMaterial({0.1f, 0.2f, 0.3f, 0.9f}, {0.4f, 0.5f, 0.6f, 0.8f},
                             {0.7f, 0.8f, 0.9f, 0.7f}, 12.0f);
    const std::string text = recordOf(stamen);
    EXPECT_EQ(text.rfind("Filament Color\ndiffuse ", 0), 0u);
    EXPECT_NE(text.find("Anther Color\ndiffuse 0.400000 0.500000 0.600000 0.800000\n"),
              std::string::npos);
    EXPECT_NE(text.find("RotAndTrans\n1.000000 0.000000 0.000000 0.000000 0.000000 1.000000 "),
              std::string::npos);
    EXPECT_NE(text.find("resolution 10 6\nAntherresolution 10 6\n"), std::string::npos);

    const auto read = readRecord<FlowerStamenNode>(text, "Stamen");
    ASSERT_TRUE(read);
    EXPECT_EQ(recordOf(*read), text);
    EXPECT_EQ(read->antherMaterial.specular, (Rgba{0.7f, 0.8f, 0.9f, 0.7f}));
    expectGridsNear(read->filament.positions, stamen.filament.positions, 1e-5);
    expectGridsNear(read->anther.positions, stamen.anther.positions, 1e-5);
}

TEST(FlowerStamenNode, AntherResolutionOutOfRangeLeavesTheStamenWithoutAnther) {
    const std::string text = recordOf(*stamenWithAnther());
    const size_t at = text.find("Antherresolution 10 6");
    ASSERT_NE(at, std::string::npos);
    for (const char* bad : {"Antherresolution 10 101", "Antherresolution 10 -1"}) {
        std::string changed = text;
        changed.replace(at, 21, bad);
        const auto read = readRecord<FlowerStamenNode>(changed, "Stamen");
        ASSERT_TRUE(read) << bad;
        EXPECT_EQ(read->antherRows, 0);
        EXPECT_EQ(read->antherColumns, 0);
        EXPECT_TRUE(read->anther.empty());
        EXPECT_FALSE(read->filament.empty());
    }
    // Rows that cannot make a spindle are brought into range.
    std::string changed = text;
    changed.replace(at, 21, "Antherresolution 1 100");
    const auto read = readRecord<FlowerStamenNode>(changed, "Stamen");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->anther.rows(), 3);
    EXPECT_EQ(read->anther.columns(), 100);
}

TEST(FlowerStamenNode, ExportWritesFilamentThenAntherUnderItsPlacement) {
    auto owned = stamenWithAnther(6);
    FlowerStamenNode& stamen = *owned;
    ObjExport out;
    EXPECT_EQ(stamen.exportObj(out, Matrix4(), 0), 2 * 60 + 2 * 60);
    EXPECT_EQ(out.mtl.str().rfind("newmtl stamen6\n", 0), 0u);
    EXPECT_NE(out.mtl.str().find("\nnewmtl stamenAnther6\nKa 0.400000 0.150000 0.100000\n"),
              std::string::npos);
    const std::string& o = out.obj.str();
    const size_t antherGroup = o.find("g stemFront_1_6\nusemtl stamenAnther6\n");
    ASSERT_NE(antherGroup, std::string::npos);
    EXPECT_LT(o.find("g stemBack_0_6\nusemtl stamen6\n"), antherGroup);
    EXPECT_NE(o.find("g stemBack_1_6\n"), std::string::npos);
}
