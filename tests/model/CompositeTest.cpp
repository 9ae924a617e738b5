#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/AxisNode.h"
#include "model/CompositeRecord.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "support/ModelRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

namespace {

// A straight stroke from `from` to `to` with `points` evenly spaced points.
Stroke line(const Vector3& from, const Vector3& to, int points = 5) {
    Stroke s;
    for (int i = 0; i < points; ++i)
        s.add(from + (to - from) * (static_cast<double>(i) / (points - 1)));
    return s;
}

const Vector3 kSide(0, 0, 1);
using Removal = FlowerObjectComposite::Removal;

// Record text with the ids of entries and their closing lines blanked out.
std::string withoutIds(const std::string& text) {
    static const std::regex ids("(Composit|Stem|Petal|end) -?[0-9]+");
    return std::regex_replace(text, ids, "$1 #");
}

void expectNear(const Vector3& a, const Vector3& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

// A plant of two segments (axis length 2) with one branch of one segment at 0.5.
std::unique_ptr<FlowerObjectComposite> samplePlant(IdCounter& ids) {
    auto plant = std::make_unique<FlowerObjectComposite>(ids.nextId());
    plant->appendAlongAxis(std::make_unique<AxisNode>(ids.nextId()), line({0, 0, 0}, {0, 1, 0}),
                           kSide);
    plant->appendAlongAxis(std::make_unique<AxisNode>(ids.nextId()), line({0, 0, 0}, {0, 1, 0}),
                           kSide);
    auto branch = std::make_unique<FlowerObjectComposite>(ids.nextId());
    branch->appendAlongAxis(std::make_unique<AxisNode>(ids.nextId(), kKindPetal),
                            line({0, 0, 0}, {0, 0.5, 0}), kSide);
    plant->addBranch(0.5, std::move(branch), line({0, 0, 0}, {0.5, 0.5, 0}), kSide);
    return plant;
}

class CompositeTest : public ::testing::Test, protected OwnModelRecords {};

} // namespace

TEST_F(CompositeTest, SegmentStartsAreFractionsOfTheGrowingAxis) {
    FlowerObjectComposite plant(nextId());
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 1, 0}), kSide);
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 1, 0}), kSide);
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 2, 0}), kSide);
    ASSERT_EQ(plant.segments.size(), 3u);
    EXPECT_DOUBLE_EQ(plant.segments[0].start, 0.0);
    EXPECT_DOUBLE_EQ(plant.segments[1].start, 0.25);
    EXPECT_DOUBLE_EQ(plant.segments[2].start, 0.5);
    EXPECT_DOUBLE_EQ(plant.mainAxis.length(), 4.0);
    expectNear(plant.mainAxis.back(), {0, 4, 0});
    // The third segment is placed where the axis ended.
    expectNear(plant.segments[2].placement.translationPart(), {0, 2, 0});
}

TEST_F(CompositeTest, ASlantedStrokeBecomesAnUprightSegmentUnderItsPlacement) {
    FlowerObjectComposite plant(nextId());
    Matrix4 placement;
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({1, 1, 0}, {2, 2, 0}), kSide,
                          &placement);
    const FlowerObjectNode& segment = *plant.segments[0].node;
    // In its own frame the segment runs up +y from the origin...
    expectNear(segment.mainAxis.front(), {0, 0, 0});
    expectNear(segment.mainAxis.back(), {0, std::sqrt(2.0), 0});
    // ...and its placement carries it back onto the drawn direction.
    expectNear(transformPoint(placement, segment.mainAxis.back()), {1, 1, 0});
}

TEST_F(CompositeTest, BranchKeepsItsRelativePositionAndShrinksButNeverGrows) {
    auto plant = samplePlant(ids);
    const double branchLength = plant->branches[0].composite->mainAxis.length();
    expectNear(plant->branches[0].attachment.translationPart(), {0, 1, 0});

    plant->reshapeByStroke(line({0, 0, 0}, {0, 4, 0}));
    expectNear(plant->branches[0].attachment.translationPart(), {0, 2, 0});
    EXPECT_NEAR(plant->branches[0].composite->mainAxis.length(), branchLength, 1e-9);

    plant->reshapeByStroke(line({0, 0, 0}, {0, 2, 0}));
    expectNear(plant->branches[0].attachment.translationPart(), {0, 1, 0});
    EXPECT_NEAR(plant->branches[0].composite->mainAxis.length(), branchLength / 2, 1e-9);
    // The segments share the new axis.
    EXPECT_NEAR(plant->segments[0].node->mainAxis.length(), 1.0, 1e-9);
    EXPECT_NEAR(plant->mainAxis.length(), 2.0, 1e-9);
}

TEST_F(CompositeTest, ScalingDownShrinksTheBranches) {
    auto plant = samplePlant(ids);
    const double branchLength = plant->branches[0].composite->mainAxis.length();
    plant->scale(0.5);
    EXPECT_NEAR(plant->mainAxis.length(), 1.0, 1e-9);
    EXPECT_NEAR(plant->branches[0].composite->mainAxis.length(), branchLength / 2, 1e-9);
    EXPECT_NEAR(plant->segments[1].node->mainAxis.length(), 0.5, 1e-9);
}

TEST_F(CompositeTest, ReshapeNeedsFourPoints) {
    auto plant = samplePlant(ids);
    const PointList before = plant->mainAxis.points;
    plant->reshapeByStroke(line({0, 0, 0}, {0, 9, 0}, 3));
    EXPECT_EQ(plant->mainAxis.points, before);
}

TEST_F(CompositeTest, FindChildComposesTheMatricesOnTheWay) {
    auto plant = samplePlant(ids);
    const FlowerObjectComposite& branch = *plant->branches[0].composite;
    const int leafId = branch.segments[0].node->id;
    const CompositeLookup found = plant->findChild(leafId);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(found.holder, &branch);
    EXPECT_EQ(found.object->id, leafId);
    const Matrix4 expected = plant->branches[0].placement() * branch.segments[0].placement;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(found.matrix[i], expected[i], 1e-12);
    EXPECT_FALSE(plant->findChild(9999).found);
}

TEST_F(CompositeTest, RemovingASegmentIdInsideABranchRemovesTheBranch) {
    auto plant = samplePlant(ids);
    const int leafId = plant->branches[0].composite->segments[0].node->id;
    EXPECT_TRUE(plant->removeBranch(leafId));
    EXPECT_TRUE(plant->branches.empty());
    EXPECT_FALSE(plant->removeBranch(leafId));
}

TEST_F(CompositeTest, SetMaterialRecoloursStemsAndReceptaclesButNotLeaves) {
    FlowerObjectComposite plant(nextId());
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId(), kKindStem),
                          line({0, 0, 0}, {0, 1, 0}), kSide);
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId(), kKindTorus),
                          line({0, 0, 0}, {0, 1, 0}), kSide);
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId(), kKindPetal),
                          line({0, 0, 0}, {0, 1, 0}), kSide);
    const Rgba red{1, 0, 0, 1};
    plant.setMaterial(red, red, red, 10);
    EXPECT_EQ(plant.segments[0].node->diffuse, (Rgba{1, 0, 0, 0.4f}));
    EXPECT_EQ(plant.segments[1].node->diffuse, (Rgba{1, 0, 0, 0.4f}));
    EXPECT_EQ(plant.segments[2].node->diffuse, (Rgba{0, 0, 0, 0.4f}));
    EXPECT_EQ(plant.diffuse, (Rgba{0, 0, 0, 0.4f}));
}

TEST_F(CompositeTest, ACompositeEmptiedByACutIsLeftForItsHolderToRemove) {
    auto plant = samplePlant(ids);
    FlowerObjectComposite& branch = *plant->branches[0].composite;
    const int branchId = branch.id;
    EXPECT_EQ(branch.cutAtSegment(branch.segments[0].node->id), Removal::Emptied);
    ASSERT_EQ(plant->branches.size(), 1u);
    EXPECT_EQ(plant->removePart(branchId), Removal::Removed);
    EXPECT_TRUE(plant->branches.empty());
}

TEST_F(CompositeTest, CuttingKeepsEarlierSegmentsAndRebuildsTheAxis) {
    auto plant = samplePlant(ids);
    const int second = plant->segments[1].node->id;
    EXPECT_EQ(plant->cutAtSegment(second), Removal::Removed);
    EXPECT_EQ(plant->segments.size(), 1u);
    EXPECT_NEAR(plant->mainAxis.length(), 1.0, 1e-9);
    EXPECT_EQ(plant->branches.size(), 1u); // branches stay
    EXPECT_EQ(plant->cutAtSegment(4242), Removal::None);
}

TEST_F(CompositeTest, EmptiedCompositesGoFromTheirHoldersUpToTheScene) {
    // The plant's only segment is a composite of one leaf: erasing the leaf empties
    // that composite, removing it empties the plant, and the plant leaves the scene.
    SceneRoot scene(nextId());
    auto inner = std::make_unique<FlowerObjectComposite>(nextId());
    inner->appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 1, 0}), kSide);
    const int leafId = inner->segments[0].node->id;
    FlowerObjectComposite& holder = *inner;
    auto plant = std::make_unique<FlowerObjectComposite>(nextId());
    plant->appendAlongAxis(std::move(inner), line({0, 0, 0}, {0, 1, 0}), kSide);
    scene.plantAlongStroke(std::move(plant), line({0, 0, 0}, {0, 1, 0}));
    scene.plantAlongStroke(samplePlant(ids), line({3, 0, 0}, {3, 2, 0}));
    const int otherPlant = scene.plants[1].composite->id;

    EXPECT_TRUE(scene.removePart(holder, leafId));
    ASSERT_EQ(scene.plants.size(), 1u);
    EXPECT_EQ(scene.plants[0].composite->id, otherPlant);
    EXPECT_FALSE(scene.removePart(*scene.plants[0].composite, 4242));
}

TEST_F(CompositeTest, CloneIsIndependentAndKeepsParentLinks) {
    auto plant = samplePlant(ids);
    auto copyNode = plant->clone(ids);
    auto& copy = static_cast<FlowerObjectComposite&>(*copyNode);
    EXPECT_NE(copy.id, plant->id);
    EXPECT_NE(copy.branches[0].composite->id, plant->branches[0].composite->id);
    EXPECT_EQ(copy.branches[0].composite->parent, &copy);
    EXPECT_EQ(copy.mainAxis.points, plant->mainAxis.points);
    copy.reshapeByStroke(line({0, 0, 0}, {0, 8, 0}));
    EXPECT_NEAR(plant->mainAxis.length(), 2.0, 1e-9);
}

TEST_F(CompositeTest, ReplaceLikeReplacesEachBranchOfTheTargetOnce) {
    // A target branch with three side branches and a model with three of its own:
    // each original side branch is replaced by the model's counterpart, none twice.
    FlowerObjectComposite plant(nextId());
    plant.appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 1, 0}), kSide);
    auto target = samplePlant(ids);
    auto extra = std::make_unique<FlowerObjectComposite>(nextId());
    extra->appendAlongAxis(std::make_unique<AxisNode>(nextId()), line({0, 0, 0}, {0, 0.3, 0}),
                           kSide);
    target->addBranch(0.25, std::move(extra), line({0, 0, 0}, {-0.3, 0.3, 0}), kSide);
    auto third = target->branches[0].composite->clone(ids);
    target->addBranch(0.75,
                      std::unique_ptr<FlowerObjectComposite>(
                          static_cast<FlowerObjectComposite*>(third.release())),
                      line({0, 0, 0}, {0.3, 0.6, 0}), kSide);
    ASSERT_EQ(target->branches.size(), 3u);
    std::vector<int> originalIds;
    for (const auto& branch : target->branches)
        originalIds.push_back(branch.composite->id);
    const int targetId = target->id;
    plant.addBranch(0.5, std::move(target), line({0, 0, 0}, {0.5, 0.5, 0}), kSide);

    const auto model = plant.branches[0].composite->clone(ids);
    plant.replaceLike(targetId, static_cast<const FlowerObjectComposite&>(*model), {0, 0, 1}, ids);
    const FlowerObjectComposite& replaced = *plant.branches[0].composite;
    ASSERT_EQ(replaced.branches.size(), 3u);
    for (const auto& branch : replaced.branches) {
        EXPECT_EQ(std::count(originalIds.begin(), originalIds.end(), branch.composite->id), 0)
            << "branch " << branch.composite->id << " was not replaced";
    }
}

TEST_F(CompositeTest, ReplaceSegmentTakesTheOldShapeAndTheSketchStrokes) {
    FlowerObjectComposite plant(nextId());
    auto sketch = std::make_unique<AxisNode>(nextId(), kKindSketch);
    sketch->strokes.push_back(std::make_unique<Stroke>(line({0, 0, 0}, {0, 1, 0})));
    plant.appendAlongAxis(std::move(sketch), line({0, 0, 0}, {0, 1, 0}), kSide);
    const int sketchId = plant.segments[0].node->id;
    auto stem = std::make_unique<AxisNode>(nextId(), kKindStem);
    const int stemId = stem->id;
    EXPECT_TRUE(plant.replaceSegment(sketchId, std::move(stem), {0, 0, 1}));
    ASSERT_EQ(plant.segments[0].node->id, stemId);
    EXPECT_EQ(plant.segments[0].node->strokes.size(), 1u);
    EXPECT_NEAR(plant.segments[0].node->mainAxis.length(), 1.0, 1e-9);
    EXPECT_FALSE(plant.replaceSegment(sketchId, std::make_unique<AxisNode>(nextId()), {0, 0, 1}));
}

TEST_F(CompositeTest, TurnBranchIgnoresLongDragsAndStillMiceAndTurnsOnShortOnes) {
    auto plant = samplePlant(ids);
    const int branchId = plant->branches[0].composite->id;
    const Matrix4 before = plant->branches[0].turn;
    plant->turnBranch(branchId, {0.1, 0, 0}, Matrix4(), {0, 0, -1});
    EXPECT_EQ(plant->branches[0].turn, before);
    // The branch sits away from the base; a drag of no length still turns nothing.
    plant->turnBranch(branchId, {0, 0, 0}, Matrix4::translation({1, 2, 3}), {0, 0, -1});
    EXPECT_EQ(plant->branches[0].turn, before);
    plant->turnBranch(branchId, {0.05, 0, 0}, Matrix4(), {0, 0, -1});
    EXPECT_NE(plant->branches[0].turn, before);
}

TEST_F(CompositeTest, BoundingBoxCoversThePartsAndTheOrigin) {
    auto plant = samplePlant(ids);
    Vector3 lo, hi;
    plant->boundingBox(lo, hi, Matrix4::translation({3, 0, 0}), true);
    EXPECT_EQ(lo.x, 0.0);
    EXPECT_NEAR(hi.x, 3.0 + 0.0, 1.0);
    EXPECT_NEAR(hi.y, 2.0, 1e-9);
}

TEST_F(CompositeTest, DistanceToRayFindsTheNearestPart) {
    auto plant = samplePlant(ids);
    const CompositeRayHit hit = plant->distanceToRay({5, 1.5, 0}, {-1, 0, 0});
    EXPECT_LT(hit.distance, 1e-9);
    expectNear(hit.point, {0, 1.5, 0});
    EXPECT_EQ(hit.objectId, plant->segments[1].node->id);
    EXPECT_EQ(FlowerObjectComposite(nextId()).distanceToRay({0, 0, 0}, {1, 0, 0}).distance,
              10000.0);
}

TEST_F(CompositeTest, RecordRoundTripGivesTheSameText) {
    auto plant = samplePlant(ids);
    TextWriter first;
    writeTypedRecord(first, *plant, WriteContext{});
    RecordReaderTable readers = axisReaders();
    readers.composite = readComposite;
    TextReader in(first.str());
    const ReadContext context = reading();
    RecordInput input{in, readers, context};
    const auto back = readTypedRecord(input);
    ASSERT_NE(back, nullptr) << in.error();
    const auto& composite = static_cast<const FlowerObjectComposite&>(*back);
    ASSERT_EQ(composite.branches.size(), 1u);
    EXPECT_EQ(composite.branches[0].composite->parent, &composite);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(composite.branches[0].attachment[i], plant->branches[0].attachment[i], 5e-7);
    // Writing what was read gives the same text, ids aside.
    TextWriter second;
    writeTypedRecord(second, *back, WriteContext{});
    EXPECT_EQ(withoutIds(second.str()), withoutIds(first.str()));
}

TEST_F(CompositeTest, RecordWithMismatchedListsIsRejected) {
    auto plant = samplePlant(ids);
    TextWriter out;
    writeTypedRecord(out, *plant, WriteContext{});
    std::string text = out.str();
    // Claim no positions for the branch.
    const size_t at = text.find("childPositionLR 1\n");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string("childPositionLR 1\n0.500000\n").size(), "childPositionLR 0\n");
    RecordReaderTable readers = axisReaders();
    readers.composite = readComposite;
    TextReader in(text);
    const ReadContext context = reading();
    RecordInput input{in, readers, context};
    EXPECT_EQ(readTypedRecord(input), nullptr);
    EXPECT_NE(in.error().find("do not match"), std::string::npos);
}

TEST_F(CompositeTest, DeeplyNestedRecordsAreRejected) {
    std::string text;
    for (int i = 0; i < 400; ++i)
        text +=
            "Composit 1\n\nColor\ndiffuse 0 0 0 0\nspecular 0 0 0 0\nambient 0 0 0 0\nshininess 0\n"
            "mainAxis 0\nchildPositionLR 0\nchildPositionLRAA 0\nm_childrenMat 0\n"
            "m_childrenMatRelateveRot 0\nm_childrenMatRot 0\nm_childrenMatArongAxis 0\n"
            "m_childrenMatArongAxisZrot 0\nm_children 1\nchild index 0\n";
    RecordReaderTable readers = axisReaders();
    readers.composite = readComposite;
    TextReader in(text);
    const ReadContext context = reading();
    RecordInput input{in, readers, context};
    EXPECT_EQ(readTypedRecord(input), nullptr);
    EXPECT_FALSE(in.ok());
}
