#include "model/SceneRoot.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/AxisNode.h"
#include "model/CompositeRecord.h"
#include "support/ModelRecords.h"

#include <gtest/gtest.h>

namespace {

Stroke line(const Vector3& from, const Vector3& to, int points = 5) {
    Stroke s;
    for (int i = 0; i < points; ++i)
        s.add(from + (to - from) * (static_cast<double>(i) / (points - 1)));
    return s;
}

std::unique_ptr<FlowerObjectComposite> plantWithLeaf(IdCounter& ids) {
    auto plant = std::make_unique<FlowerObjectComposite>(ids.nextId());
    plant->appendAlongAxis(std::make_unique<AxisNode>(ids.nextId()), line({0, 0, 0}, {0, 1, 0}),
                           {0, 0, 1});
    auto branch = std::make_unique<FlowerObjectComposite>(ids.nextId());
    branch->appendAlongAxis(std::make_unique<AxisNode>(ids.nextId(), kKindPetal),
                            line({0, 0, 0}, {0, 0.3, 0}), {0, 0, 1});
    plant->addBranch(0.5, std::move(branch), line({0, 0, 0}, {0.3, 0.3, 0}), {0, 0, 1});
    return plant;
}

class SceneRootTest : public ::testing::Test, protected OwnModelRecords {};

} // namespace

TEST_F(SceneRootTest, APlantStandsUprightAtTheStartOfItsStroke) {
    SceneRoot scene(nextId());
    scene.plantAlongStroke(plantWithLeaf(ids), line({1, 0, 0}, {1, 2, 0}));
    ASSERT_EQ(scene.plants.size(), 1u);
    const Matrix4& m = scene.plants[0].placement;
    EXPECT_EQ(m.translationPart(), Vector3(1, 0, 0));
    const Vector3 up = m.rotateVector({0, 1, 0});
    EXPECT_NEAR(up.y, 1.0, 1e-12);
    EXPECT_NEAR(scene.plants[0].composite->mainAxis.length(), 2.0, 1e-9);
    EXPECT_NEAR(scene.plants[0].composite->mainAxis.back().x, 0.0, 1e-9);
}

TEST_F(SceneRootTest, RemovingAPlantKeepsTheOthersPaired) {
    SceneRoot scene(nextId());
    scene.plantAlongStroke(plantWithLeaf(ids), line({1, 0, 0}, {1, 1, 0}));
    scene.plantAlongStroke(plantWithLeaf(ids), line({2, 0, 0}, {2, 1, 0}));
    scene.plantAlongStroke(plantWithLeaf(ids), line({3, 0, 0}, {3, 1, 0}));
    const int middle = scene.plants[1].composite->id;
    const int last = scene.plants[2].composite->id;
    EXPECT_TRUE(scene.removePlant(middle));
    EXPECT_FALSE(scene.removePlant(middle));
    ASSERT_EQ(scene.plants.size(), 2u);
    EXPECT_EQ(scene.plants[1].composite->id, last);
    EXPECT_EQ(scene.plants[1].placement.translationPart(), Vector3(3, 0, 0));
}

TEST_F(SceneRootTest, FindInSceneComposesThePlantAndInnerMatrices) {
    SceneRoot scene(nextId());
    scene.plantAlongStroke(plantWithLeaf(ids), line({1, 0, 0}, {1, 1, 0}));
    FlowerObjectComposite& plant = *scene.plants[0].composite;
    FlowerObjectComposite& branch = *plant.branches[0].composite;
    const int leafId = branch.segments[0].node->id;
    const SceneLookup found = scene.findInScene(leafId);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(found.plant, &plant);
    EXPECT_EQ(found.holder, &branch);
    const Matrix4 expected =
        scene.plants[0].placement * plant.branches[0].placement() * branch.segments[0].placement;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(found.matrix[i], expected[i], 1e-12);
    const SceneLookup top = scene.findInScene(plant.id);
    EXPECT_TRUE(top.found);
    EXPECT_EQ(top.holder, nullptr);
    EXPECT_FALSE(scene.findInScene(12345).found);
}

TEST_F(SceneRootTest, PickNearestOfAnEmptySceneIsFarAway) {
    SceneRoot scene(nextId());
    EXPECT_EQ(scene.pickNearest({0, 0, 5}, {0, 0, -1}).distance, 1000000.0);
    scene.plantAlongStroke(plantWithLeaf(ids), line({1, 0, 0}, {1, 1, 0}));
    const ScenePick pick = scene.pickNearest({1, 0.25, 5}, {0, 0, -1});
    EXPECT_LT(pick.distance, 1e-9);
    EXPECT_EQ(pick.plantIndex, 0);
    EXPECT_NEAR(pick.point.x, 1.0, 1e-9);
}

TEST_F(SceneRootTest, EmptySceneRecordAndRoundTrip) {
    SceneRoot empty(nextId());
    TextWriter out;
    empty.save(out, WriteContext{});
    EXPECT_EQ(out.str(), "m_childrenMat 0\nm_children 0\nend m_children\n\n");

    SceneRoot scene(nextId());
    scene.plantAlongStroke(plantWithLeaf(ids), line({1, 0, 0}, {1, 1, 0.5}));
    scene.plantAlongStroke(plantWithLeaf(ids), line({-1, 0, 0}, {-1, 1, 0}));
    TextWriter written;
    scene.save(written, WriteContext{});
    RecordReaderTable readers = axisReaders();
    readers.composite = readComposite;
    TextReader in(written.str());
    const ReadContext context = reading();
    RecordInput input{in, readers, context};
    const auto back = readSceneRoot(input);
    ASSERT_NE(back, nullptr) << in.error();
    ASSERT_EQ(back->plants.size(), 2u);
    EXPECT_EQ(back->plants[0].composite->parent, nullptr);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(back->plants[0].placement[i], scene.plants[0].placement[i], 5e-7);
}

TEST_F(SceneRootTest, CloneCopiesPlantsWithFreshIds) {
    SceneRoot scene(nextId());
    scene.plantAlongStroke(plantWithLeaf(ids), line({1, 0, 0}, {1, 1, 0}));
    const auto copy = scene.clone(ids);
    EXPECT_NE(copy->id, scene.id);
    ASSERT_EQ(copy->plants.size(), 1u);
    EXPECT_NE(copy->plants[0].composite->id, scene.plants[0].composite->id);
    EXPECT_EQ(copy->plants[0].placement, scene.plants[0].placement);
}
