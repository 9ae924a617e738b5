#include "math/RigidPlacement.h"
#include "model/AxisOpeningOrder.h"
#include "organs/Bloom.h"
#include "organs/ModelledBud.h"
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
    // The head as a library gives it back: its record is then what saving writes.
    void readAsFromLibrary() {
        flower = readRecord<FlowerTorusNode>(recordOf(*flower), recordKeyword(*flower));
        ASSERT_NE(flower, nullptr);
    }
    // Why a flower head's record is refused; empty when it reads.
    static std::string refusal(const std::string& text) {
        TextReader in(text);
        OwnModelRecords own;
        const ReadContext context = own.reading();
        RecordInput input{in, libraryReaders(), context};
        const bool read = readRecordBody(input, recordKeyword(kKindTorus)) != nullptr;
        return read ? std::string() : in.ok() ? std::string("refused") : in.error();
    }

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
    readAsFromLibrary();
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
    const std::string error = refusal(backwards);
    EXPECT_NE(error.find("opening span"), std::string::npos) << error;
}

namespace {

// A flower head with a bud modelled by hand.
class ModelledBloom : public Bloom {
protected:
    ModelledBloom() {
        flower->modelledBud =
            std::make_shared<const ModelledBud>(samples::handModelledBud(*flower, records.records()));
    }
    const ModelledBud& modelled() const { return *flower->modelledBud; }
    const FlowerPart& budSlot(int whorl, int index) const {
        return *modelled().bud().whorl(whorl).parts[index];
    }
    // The organ and its placement the head draws in the slot at `time`.
    std::pair<const FlowerObjectNode*, Matrix4> drawnAt(int whorl, int index, double time) const {
        std::pair<const FlowerObjectNode*, Matrix4> found{nullptr, {}};
        const FlowerObjectNode* wanted = flower->whorl(whorl).parts[index]->object.get();
        flower->forEachOrganOpening(
            time,
            [&](FlowerObjectNode& organ, const Matrix4& placement) {
                if (organ.id == wanted->id)
                    found = {&organ, placement};
            },
            DrawContext{});
        return found;
    }
};

bool nearlyEqual(const Matrix4& a, const Matrix4& b, double tolerance) {
    for (int i = 0; i < 16; ++i)
        if (std::abs(a[i] - b[i]) > tolerance)
            return false;
    return true;
}

} // namespace

// From a modelled bud each organ starts where it stands in the bud and with the bud's
// shape, and ends exactly as modelled in the flower; on the way its slot's frame
// moves rigidly, its base on the straight line between bud and flower, and it still
// picks as the flower's organ.
TEST_F(ModelledBloom, OrgansGoFromTheBudsPlacesAndShapesToTheFlowers) {
    for (int whorl : kWhorlsInsideOut)
        for (int i = 0; i < count(whorl); ++i) {
            const FlowerPart& slot = *flower->whorl(whorl).parts[i];
            const auto [budOrgan, budPlacement] = drawnAt(whorl, i, 0.0);
            ASSERT_NE(budOrgan, nullptr);
            EXPECT_EQ(budOrgan->id, slot.object->id);
            EXPECT_TRUE(nearlyEqual(budPlacement, budSlot(whorl, i).organMatrix(), 1e-9));
            EXPECT_NEAR(distance(budOrgan->mainAxis.points.back(),
                                 budSlot(whorl, i).object->mainAxis.points.back()),
                        0.0, 1e-9)
                << "whorl " << whorl << " slot " << i;

            EXPECT_EQ(modelled().organMatrixAt(slot, whorl, i, 1.0), slot.organMatrix());
            EXPECT_EQ(&modelled().organAt(slot, whorl, i, 1.0, 0), slot.object.get());

            const double half = 0.5;
            const Matrix4 between = modelled().organMatrixAt(slot, whorl, i, half);
            EXPECT_TRUE(isRigid(between * inverted(slot.rotation))) << whorl << " " << i;
            const Vector3 base = transformPoint(between, {});
            const Vector3 expected = (transformPoint(budSlot(whorl, i).organMatrix(), {}) +
                                      transformPoint(slot.organMatrix(), {})) *
                                     half;
            EXPECT_NEAR(distance(base, expected), 0.0, 1e-9);
        }
    // Petals are shorter in the bud: half way through the petals' span they are in
    // between.
    const double petalsHalfOpen = 0.5 * (flower->bloom.span(kWhorlPetal).start +
                                         flower->bloom.span(kWhorlPetal).end);
    const auto length = [](const FlowerObjectNode& organ) {
        return distance(organ.mainAxis.points.front(), organ.mainAxis.points.back());
    };
    const FlowerObjectNode& open = *flower->whorl(kWhorlPetal).parts[0]->object;
    const double middle = length(*drawnAt(kWhorlPetal, 0, petalsHalfOpen).first);
    EXPECT_LT(middle, length(open) * 0.95);
    EXPECT_GT(middle, length(*budSlot(kWhorlPetal, 0).object) * 1.05);
}

// A bud must have the flower's slots. What differs is said, and a head whose slots
// were changed after the bud was made opens from the bud worked out from its own
// organs instead.
TEST_F(ModelledBloom, ABudWithOtherSlotsIsRefusedAndAHeadChangedSinceOpensTheUsualWay) {
    auto fewer = samples::handModelledBud(*flower, records.records());
    fewer->removeLastSlots(kWhorlSepal, 1);
    EXPECT_EQ(ModelledBud::mismatch(*fewer, *flower), "The bud has 4 slots for sepals, the flower 5.");
    auto emptied = samples::handModelledBud(*flower, records.records());
    emptied->whorl(kWhorlStamen).parts[2]->object.reset();
    EXPECT_EQ(ModelledBud::mismatch(*emptied, *flower),
              "Slot 3 of the stamens holds an organ in the flower only.");
    EXPECT_EQ(ModelledBud::mismatch(modelled().bud(), *flower), "");

    flower->whorl(kWhorlPetal).parts[1]->object.reset();
    EXPECT_FALSE(modelled().fits(*flower));
    const FlowerPart& slot = *flower->whorl(kWhorlPetal).parts[0];
    const double time = 0.3;
    EXPECT_EQ(drawnAt(kWhorlPetal, 0, time).second,
              FlowerBud(*flower).organMatrixAt(slot, kWhorlPetal, 0,
                                               flower->bloom.openness(kWhorlPetal, time)));
}

// The bud is saved inside the flower head's record, read back and saved again alike;
// copies of the head share it, a head scaled scales it too; a bud record that is no
// flower head is refused.
TEST_F(ModelledBloom, TheBudIsKeptInTheRecordAndSharedByCopies) {
    readAsFromLibrary();
    const std::string text = recordOf(*flower);
    ASSERT_NE(text.find("modelledBud"), std::string::npos);
    const auto reread = readRecord<FlowerTorusNode>(text, recordKeyword(*flower));
    ASSERT_NE(reread, nullptr);
    ASSERT_NE(reread->modelledBud, nullptr);
    EXPECT_TRUE(reread->modelledBud->fits(*reread));
    EXPECT_EQ(recordOf(*reread), text);
    EXPECT_EQ(reread->modelledBud->bud().modelledBud, nullptr);

    const auto copy = flower->clone(records.ids);
    EXPECT_EQ(asTorus(copy.get())->modelledBud, flower->modelledBud);
    // A head scaled as a whole, as when it is placed along a plant's axis, opens from
    // its bud scaled alike.
    const auto tipAtStart = [&](const FlowerTorusNode& head) {
        const FlowerPart& slot = *head.whorl(kWhorlPetal).parts[0];
        const Matrix4 placement = head.modelledBud->organMatrixAt(slot, kWhorlPetal, 0, 0.0);
        const FlowerObjectNode& organ = head.modelledBud->organAt(slot, kWhorlPetal, 0, 0.0, 0);
        return transformPoint(placement, organ.mainAxis.points.back());
    };
    const Vector3 before = tipAtStart(*flower);
    flower->scale(0.5);
    EXPECT_NEAR(distance(tipAtStart(*flower), before * 0.5), 0.0, 1e-6);

    std::string wrong = text;
    const std::size_t bud = wrong.find("modelledBud\n") + std::string("modelledBud\n").size();
    wrong.replace(bud, wrong.find(' ', bud) - bud, "Stem");
    EXPECT_NE(refusal(wrong), "");
}
