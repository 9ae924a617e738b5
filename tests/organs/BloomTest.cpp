#include "model/AxisOpeningOrder.h"
#include "organs/Bloom.h"
#include "organs/OrganRecordSupport.h"
#include "support/SamplePlants.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double fromAxis(const Vector3& p) {
    return std::hypot(p.x, p.z);
}

class Bloom : public testing::Test {
protected:
    // Where the organ in slot `index` of `whorl` stands at `time` of the flower head.
    Matrix4 placementAt(int whorl, int index, double time) const {
        const FlowerPart& slot = *flower->whorl(whorl).parts[index];
        return FlowerBud(*flower).organMatrixAt(slot, whorl, index,
                                                flower->bloom.openness(whorl, time));
    }
    Vector3 tipAt(int whorl, int index, double time) const {
        const FlowerPart& slot = *flower->whorl(whorl).parts[index];
        return transformPoint(placementAt(whorl, index, time), slot.object->mainAxis.points.back());
    }
    int count(int whorl) const { return static_cast<int>(flower->whorl(whorl).parts.size()); }

    OwnModelRecords records;
    std::unique_ptr<FlowerTorusNode> flower = samples::flower(records.records());
};

} // namespace

// The bud: every petal tip comes in towards the axis, each organ keeping its base
// and its length (it turns rigidly about its base), and the sepals wrap the petals:
// where a sepal's tip stands, every petal runs closer to the axis.
TEST_F(Bloom, AtTimeZeroTheOrgansCloseIntoABudAboutTheirBases) {
    // The closed petals as lines from base to tip.
    std::vector<std::pair<Vector3, Vector3>> petals;
    for (int i = 0; i < count(kWhorlPetal); ++i) {
        const Vector3 open = tipAt(kWhorlPetal, i, 1.0);
        const Vector3 bud = tipAt(kWhorlPetal, i, 0.0);
        EXPECT_LT(fromAxis(bud), fromAxis(open));
        const Vector3 base = transformPoint(placementAt(kWhorlPetal, i, 1.0), {});
        EXPECT_NEAR(distance(base, bud), distance(base, open), 1e-9);
        EXPECT_NEAR(distance(transformPoint(placementAt(kWhorlPetal, i, 0.0), {}), base), 0.0,
                    1e-12);
        petals.emplace_back(base, bud);
    }
    for (int i = 0; i < count(kWhorlSepal); ++i) {
        const Vector3 bud = tipAt(kWhorlSepal, i, 0.0);
        EXPECT_LT(fromAxis(bud), fromAxis(tipAt(kWhorlSepal, i, 1.0)));
        for (const auto& [base, tip] : petals) {
            const double along = (bud.y - base.y) / (tip.y - base.y);
            ASSERT_TRUE(along > 0.0 && along < 1.0) << "a sepal's tip stands beside the petals";
            EXPECT_GT(fromAxis(bud), fromAxis(base + (tip - base) * along))
                << "sepals close outside the petals";
        }
    }
}

// Each whorl opens over its own span: early on only the sepals have moved; at 1
// every organ stands exactly as modelled.
TEST_F(Bloom, WhorlsOpenInTheirOrder) {
    const double sepalsOnly = 0.2;
    for (int i = 0; i < count(kWhorlPetal); ++i)
        EXPECT_EQ(placementAt(kWhorlPetal, i, sepalsOnly), placementAt(kWhorlPetal, i, 0.0));
    for (int i = 0; i < count(kWhorlSepal); ++i) {
        const Vector3 moving = tipAt(kWhorlSepal, i, sepalsOnly);
        EXPECT_GT(distance(moving, tipAt(kWhorlSepal, i, 0.0)), 1e-3);
        EXPECT_GT(distance(moving, tipAt(kWhorlSepal, i, 1.0)), 1e-3);
    }
    for (int whorl : kWhorlsInsideOut)
        for (int i = 0; i < count(whorl); ++i)
            EXPECT_EQ(placementAt(whorl, i, 1.0), flower->whorl(whorl).parts[i]->organMatrix());
}

// In a plant the lowest flower head opens first and the topmost last; reversed, the
// other way round; at time 1 all of them are open.
TEST(PlantBloom, HeadsOpenFromTheBottomUpOrReversed) {
    OwnModelRecords records;
    const auto plant = samples::plant(records.records(), 4);
    std::vector<int> headsUpward;
    for (const auto& branch : plant->branches)
        headsUpward.push_back(branch.composite->segments.back().node->id);
    for (bool topFirst : {false, true}) {
        const AxisOpeningOrder order(*plant, topFirst);
        ASSERT_EQ(order.size(), 4u);
        const BloomTime moment{0.4, &order};
        for (std::size_t i = 1; i < headsUpward.size(); ++i) {
            const double lower = moment.of(headsUpward[i - 1]);
            const double upper = moment.of(headsUpward[i]);
            EXPECT_TRUE(topFirst ? upper > lower : lower > upper) << i;
        }
        for (int id : headsUpward)
            EXPECT_EQ((BloomTime{1.0, &order}.of(id)), 1.0);
        // A head outside the plants, as the work object shown alone, opens over the whole
        // time line.
        EXPECT_EQ(moment.of(plant->id + 1000), 0.4);
    }
}

// A flower head that opens the usual way writes its record as it always has, so a
// library without bloom settings reads and saves byte for byte as before; other
// spans are written, read back and saved again alike; a span that ends before it
// starts is refused with the reason.
TEST_F(Bloom, OpeningSpansAreKeptInTheRecordOnlyWhenSet) {
    // As read from a library: the record of a head read back is what saving writes.
    flower = readRecord<FlowerTorusNode>(recordOf(*flower), recordKeyword(*flower));
    ASSERT_NE(flower, nullptr);
    const std::string usual = recordOf(*flower);
    EXPECT_EQ(usual.find("openingSpans"), std::string::npos);
    const auto plain = readRecord<FlowerTorusNode>(usual, recordKeyword(*flower));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(recordOf(*plain), usual);

    flower->bloom.span(kWhorlPetal) = {0.1, 0.3};
    flower->bloom.span(kWhorlPistil) = {0.9, 0.9};
    const std::string set = recordOf(*flower);
    const auto reread = readRecord<FlowerTorusNode>(set, recordKeyword(*flower));
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->bloom, flower->bloom);
    EXPECT_EQ(recordOf(*reread), set);

    std::string backwards = set;
    backwards.replace(backwards.find("0.100000 0.300000"), 17, "0.300000 0.100000");
    TextReader in(backwards);
    OwnModelRecords own;
    const ReadContext context = own.reading();
    RecordInput input{in, libraryReaders(), context};
    EXPECT_EQ(readRecordBody(input, recordKeyword(*flower)), nullptr);
    EXPECT_NE(in.error().find("opening span"), std::string::npos) << in.error();
}
