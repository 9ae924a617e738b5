// Inflorescences and leaf arrangements built on a drawn axis: the botanical
// invariants of each type, measured on the composite the builders leave.
#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/AxisOpeningOrder.h"
#include "model/FlowerObjectComposite.h"
#include "model/NodeRecord.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"
#include "organs/Inflorescence.h"
#include "organs/LeafArrangement.h"
#include "support/ModelRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <numeric>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// A part of a plant of the kind asked for, as it stands in the plant's frame, with
// the top-level branch that holds it (none for the plant's own segments).
struct PlacedPart {
    int id = -1;
    Vector3 base;
    Vector3 branchStart;
    Vector3 branchDirection{0.0, 1.0, 0.0};
};

void walk(const FlowerObjectComposite& composite, const Matrix4& matrix,
          const std::function<void(const FlowerObjectNode&, const Matrix4&)>& visit) {
    forEachPlacedChild(composite, [&](const FlowerObjectNode& child, const Matrix4& placement,
                                      bool) {
        if (const FlowerObjectComposite* inner = asComposite(&child))
            walk(*inner, matrix * placement, visit);
        else
            visit(child, matrix * placement);
    });
}

std::vector<PlacedPart> placedParts(const FlowerObjectComposite& plant, int kind) {
    std::vector<PlacedPart> parts;
    const auto take = [&](PlacedPart holder) {
        return [&parts, holder, kind](const FlowerObjectNode& node, const Matrix4& m) {
            if (node.kind != kind)
                return;
            PlacedPart part = holder;
            part.id = node.id;
            part.base = transformPoint(m, Vector3());
            if (holder.id < 0)
                part.branchStart = part.base;
            parts.push_back(part);
        };
    };
    for (const auto& branch : plant.branches) {
        const Matrix4 m = branch.placement();
        const PointList& axis = branch.composite->mainAxis.points;
        PlacedPart holder;
        holder.id = branch.composite->id;
        holder.branchStart = transformPoint(m, axis.front());
        holder.branchDirection = unit(transformPoint(m, axis.back()) - holder.branchStart);
        walk(*branch.composite, m, take(holder));
    }
    for (const auto& segment : plant.segments)
        if (segment.node->kind == kind)
            take(PlacedPart{})(*segment.node, segment.placement);
    return parts;
}

// The azimuth of a direction about the upright axis, in degrees.
double azimuthDegrees(const Vector3& d) {
    return std::atan2(d.z, d.x) / kDegree;
}

// The turn from one azimuth to the next, 0 .. 360.
double turnDegrees(double from, double to) {
    return std::fmod(to - from + 720.0, 360.0);
}

class InflorescenceTest : public ::testing::Test, protected OwnModelRecords {
protected:
    // A plant drawn as one upright stem one unit tall.
    std::unique_ptr<FlowerObjectComposite> drawnAxis() {
        auto plant = std::make_unique<FlowerObjectComposite>(nextId());
        Stroke axis;
        for (int i = 0; i <= 10; ++i)
            axis.add({0.0, 0.1 * i, 0.0});
        plant->appendAlongAxis(std::make_unique<FlowerStemNode>(nextId(), axis, parameters), axis,
                               {0.0, 0.0, 1.0});
        return plant;
    }

    std::unique_ptr<FlowerObjectComposite> built(const InflorescenceSettings& settings) {
        auto plant = drawnAxis();
        const FlowerTorusNode flower(nextId(), parameters.receptacle);
        EXPECT_TRUE(buildInflorescence(*plant, settings, flower, parameters, ids));
        return plant;
    }

    // The flowers in the order the plant says they open.
    static std::vector<PlacedPart> inOpeningOrder(const FlowerObjectComposite& plant) {
        const std::vector<const FlowerObjectNode*> heads = flowerHeads(plant);
        const std::vector<PlacedPart> placed = placedParts(plant, kKindTorus);
        std::vector<PlacedPart> ordered;
        for (int place : plant.openingOrder) {
            const auto at = std::find_if(placed.begin(), placed.end(), [&](const PlacedPart& p) {
                return p.id == heads.at(static_cast<size_t>(place))->id;
            });
            if (at != placed.end())
                ordered.push_back(*at);
        }
        return ordered;
    }
};

} // namespace

TEST_F(InflorescenceTest, EveryTypeBearsItsFlowersEachOpeningOnceInItsBotanicalOrder) {
    for (int type = 0; type < kInflorescenceTypes; ++type) {
        SCOPED_TRACE(type);
        InflorescenceSettings settings;
        settings.type = static_cast<InflorescenceType>(type);
        settings.flowers = 13;
        settings.sizeChange = 0.6;
        const auto plant = built(settings);
        ASSERT_EQ(flowerHeads(*plant).size(), 13u);
        std::vector<int> order = plant->openingOrder;
        std::sort(order.begin(), order.end());
        std::vector<int> everyFlower(13);
        std::iota(everyFlower.begin(), everyFlower.end(), 0);
        EXPECT_EQ(order, everyFlower);

        const std::vector<PlacedPart> opening = inOpeningOrder(*plant);
        ASSERT_EQ(opening.size(), 13u);
        // The bloom plays the kept order, whichever way the axes' order would run.
        const AxisOpeningOrder bloom(*plant, true);
        EXPECT_EQ(bloom.placeOf(opening.front().id), 0.0);
        EXPECT_EQ(bloom.placeOf(opening.back().id), 1.0);
        for (size_t i = 1; i < opening.size(); ++i)
            EXPECT_GT(bloom.placeOf(opening[i].id), bloom.placeOf(opening[i - 1].id));
        switch (settings.type) {
        case InflorescenceType::Raceme:
        case InflorescenceType::Spike:
            // Acropetal: each flower opens no lower on the axis than the one before.
            for (size_t i = 1; i < opening.size(); ++i)
                EXPECT_GE(opening[i].branchStart.y, opening[i - 1].branchStart.y - 1e-9);
            break;
        case InflorescenceType::Umbel:
        case InflorescenceType::Head:
            // Centripetal: the outer flowers, leaning furthest, open first.
            for (size_t i = 1; i < opening.size(); ++i)
                EXPECT_GE(opening[i].branchDirection.y, opening[i - 1].branchDirection.y - 1e-9);
            break;
        case InflorescenceType::Cyme:
            // The terminal flower ends the main axis and is the oldest.
            EXPECT_EQ(opening.front().id, plant->segments.back().node->id);
            break;
        default:
            break;
        }
    }
}

TEST_F(InflorescenceTest, SpiralFlowersTurnByTheDivergenceAngle) {
    for (double divergence : {137.5, 99.5}) {
        InflorescenceSettings settings;
        settings.flowers = 20;
        settings.phyllotaxis.divergenceDegrees = divergence;
        const auto plant = built(settings);
        const std::vector<PlacedPart> flowers = placedParts(*plant, kKindTorus);
        ASSERT_EQ(flowers.size(), 20u);
        std::vector<PlacedPart> upwards = flowers;
        std::sort(upwards.begin(), upwards.end(), [](const PlacedPart& a, const PlacedPart& b) {
            return a.branchStart.y < b.branchStart.y;
        });
        // One sense of turning throughout, by the divergence either way round.
        const double first = turnDegrees(azimuthDegrees(upwards[0].branchDirection),
                                         azimuthDegrees(upwards[1].branchDirection));
        const double expected = std::abs(first - divergence) < 1.0 ? divergence : 360.0 - divergence;
        for (size_t i = 1; i < upwards.size(); ++i)
            EXPECT_NEAR(turnDegrees(azimuthDegrees(upwards[i - 1].branchDirection),
                                    azimuthDegrees(upwards[i].branchDirection)),
                        expected, 0.5)
                << divergence << " at " << i;
    }
}

TEST_F(InflorescenceTest, UmbelMeetsAtOneNodeAndCorymbFlowersEndAtOneHeight) {
    InflorescenceSettings umbel;
    umbel.type = InflorescenceType::Umbel;
    umbel.flowers = 9;
    umbel.pedicelChange = 0.5;
    const auto umbelPlant = built(umbel);
    const Vector3 tip = umbelPlant->mainAxis.back();
    for (const PlacedPart& flower : placedParts(*umbelPlant, kKindTorus))
        EXPECT_LT(distance(flower.branchStart, tip), 0.01);

    InflorescenceSettings corymb;
    corymb.type = InflorescenceType::Corymb;
    corymb.flowers = 10;
    const auto corymbPlant = built(corymb);
    double lowest = 1e9;
    double highest = -1e9;
    double lowestStart = 1e9;
    double highestStart = -1e9;
    for (const PlacedPart& flower : placedParts(*corymbPlant, kKindTorus)) {
        lowest = std::min(lowest, flower.base.y);
        highest = std::max(highest, flower.base.y);
        lowestStart = std::min(lowestStart, flower.branchStart.y);
        highestStart = std::max(highestStart, flower.branchStart.y);
    }
    // The pedicels start over half the axis, yet the flowers end within 5 % of it.
    EXPECT_GT(highestStart - lowestStart, 0.5);
    EXPECT_LT(highest - lowest, 0.05 * corymbPlant->mainAxis.length());
}

TEST_F(InflorescenceTest, DecussateAndWhorledLeavesStandInTurnedNodes) {
    auto plant = drawnAxis();
    const FlowerStemNode leaf(nextId(), Stroke(PointList{{0, 0, 0}, {0, 0.1, 0}, {0, 0.2, 0}}),
                              parameters);
    LeafArrangementSettings decussate;
    decussate.phyllotaxis.kind = PhyllotaxisKind::Decussate;
    decussate.leaves = 8;
    ASSERT_TRUE(arrangeLeaves(*plant, decussate, leaf, ids));
    std::vector<PlacedPart> leaves = placedParts(*plant, kKindStem);
    std::erase_if(leaves, [](const PlacedPart& p) { return p.branchDirection.y == 1.0; });
    ASSERT_EQ(leaves.size(), 8u);
    std::sort(leaves.begin(), leaves.end(), [](const PlacedPart& a, const PlacedPart& b) {
        return a.branchStart.y < b.branchStart.y;
    });
    for (size_t node = 0; node < 4; ++node) {
        const PlacedPart& a = leaves[2 * node];
        const PlacedPart& b = leaves[2 * node + 1];
        EXPECT_NEAR(a.branchStart.y, b.branchStart.y, 1e-9);
        EXPECT_NEAR(turnDegrees(azimuthDegrees(a.branchDirection), azimuthDegrees(b.branchDirection)),
                    180.0, 0.5);
        if (node > 0) {
            const double turn = std::fmod(
                turnDegrees(azimuthDegrees(leaves[2 * node - 2].branchDirection),
                            azimuthDegrees(a.branchDirection)), 180.0);
            EXPECT_NEAR(std::min(turn, 180.0 - turn), 90.0, 0.5) << node;
        }
    }

    auto whorled = drawnAxis();
    LeafArrangementSettings threes;
    threes.phyllotaxis.kind = PhyllotaxisKind::Whorled;
    threes.phyllotaxis.perWhorl = 3;
    threes.leaves = 9;
    ASSERT_TRUE(arrangeLeaves(*whorled, threes, leaf, ids));
    std::vector<double> heights;
    for (const PlacedPart& p : placedParts(*whorled, kKindStem))
        if (p.branchDirection.y != 1.0)
            heights.push_back(std::round(p.branchStart.y * 1e6));
    std::sort(heights.begin(), heights.end());
    EXPECT_EQ(heights.size(), 9u);
    EXPECT_EQ(std::unique(heights.begin(), heights.end()) - heights.begin(), 3);
}

TEST_F(InflorescenceTest, TheOpeningOrderIsSavedWithThePlantAndOnlyWhenThereIsOne) {
    InflorescenceSettings cyme;
    cyme.type = InflorescenceType::Cyme;
    cyme.flowers = 7;
    const auto plant = built(cyme);
    TextWriter out;
    writeTypedRecord(out, *plant, WriteContext{});
    TextReader in(out.str());
    const ReadContext context = reading();
    RecordInput input{in, libraryReaders(), context};
    const auto back = readTypedRecord(input);
    ASSERT_NE(back, nullptr) << in.error();
    const auto* read = asComposite(back.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->openingOrder, plant->openingOrder);
    EXPECT_EQ(flowerHeads(*read).size(), 7u);

    TextWriter plain;
    writeTypedRecord(plain, *drawnAxis(), WriteContext{});
    EXPECT_EQ(plain.str().find("openingOrder"), std::string::npos);
}
