#include "organs/FlowerTorusNode.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/AxisNode.h"
#include "model/CompositeRecord.h"
#include "model/FlowerObjectComposite.h"
#include "model/NodeRecord.h"
#include "model/ObjExport.h"
#include "support/ModelRecords.h"
#include "support/ScopedLocale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <numbers>
#include <regex>

namespace {

constexpr double kPi = std::numbers::pi;

Vector3 slotOrigin(const FlowerPart& slot) {
    return transformPoint(slot.basicTransAndRot, {});
}

// The direction an organ built along +y points to in the slot.
Vector3 slotUp(const FlowerPart& slot) {
    return unit(slot.basicTransAndRot.rotateVector({0, 1, 0}));
}

double angleBetween(const Vector3& a, const Vector3& b) {
    return std::acos(std::clamp(dot(unit(a), unit(b)), -1.0, 1.0));
}

Stroke upright(const Vector3& base, double length) {
    Stroke s;
    for (int i = 0; i < 5; ++i)
        s.add(base + Vector3{0, length * i / 4.0, 0});
    return s;
}

RecordReaderTable readers() {
    RecordReaderTable table = axisReaders();
    table.torus = readTorus;
    table.composite = readComposite;
    return table;
}

std::string recordOf(const FlowerObjectNode& node) {
    TextWriter out;
    writeTypedRecord(out, node, WriteContext{});
    return out.take();
}

std::unique_ptr<FlowerObjectNode> readBack(const std::string& text, const ReadContext& context) {
    TextReader in(text);
    const RecordReaderTable table = readers();
    RecordInput input{in, table, context};
    auto node = readTypedRecord(input);
    EXPECT_TRUE(in.ok()) << in.error();
    return node;
}

class TorusTest : public ::testing::Test, protected OwnModelRecords {
protected:
    SlotList& parts(int whorl) { return torus.whorl(whorl).parts; }

    // Attaches an axis organ of `kind` to the slot, drawn straight out of it.
    void fill(int whorl, int index, int kind) {
        const FlowerPart& slot = *torus.whorl(whorl).parts[index];
        auto organ = std::make_unique<AxisNode>(nextId(), kind);
        PointList axis = upright(slotOrigin(slot), 0.3).points;
        torus.attachOrgan(whorl, index, std::move(organ), axis, {0, 0, 1});
    }

    // A flower with organs in all four whorls.
    void buildFlower() {
        for (int i = 0; i < 3; ++i)
            torus.addSlot(kWhorlPistil, 0, 0, 0);
        for (int i = 0; i < 6; ++i) {
            torus.addSlot(kWhorlStamen, 0, 0, 0);
            torus.addSlot(kWhorlPetal, 0, 0, 0);
        }
        for (int i = 0; i < 5; ++i)
            torus.addSlot(kWhorlSepal, 0, 0, 0);
        torus.relayoutRings(30, 60, 150, 250);
        fill(kWhorlPistil, 0, kKindPistil);
        fill(kWhorlStamen, 2, kKindStamen);
        fill(kWhorlPetal, 5, kKindPetal);
        fill(kWhorlSepal, 1, kKindPetal);
    }

    FlowerTorusNode torus{nextId(), parameters.receptacle};
};

} // namespace

TEST_F(TorusTest, ConstructionGivesTheDefaultReceptacle) {
    EXPECT_EQ(torus.kind, kKindTorus);
    EXPECT_EQ(torus.m_basicCurve.size(), 20u);
    EXPECT_NEAR(torus.m_basicCurve.points.front().y, 0.5, 1e-9);
    EXPECT_NEAR(torus.m_basicCurve.points.back().y, 0.0, 1e-9);
    EXPECT_EQ(torus.body.positions.rows(), torus.m_resV);
    EXPECT_EQ(torus.body.positions.columns(), torus.m_resH);
    ASSERT_EQ(torus.mainAxis.size(), 3u);
    Vector3 lo, hi;
    torus.boundingBox(lo, hi, Matrix4(), true);
    EXPECT_NEAR(torus.mainAxis.points[2].y, hi.y, 1e-12);
    EXPECT_NEAR(torus.mainAxis.points[1].y, hi.y / 2, 1e-12);
    EXPECT_FLOAT_EQ(torus.diffuse.g, 0.8f);
    EXPECT_FLOAT_EQ(torus.diffuse.a, 1.0f);
    EXPECT_FLOAT_EQ(torus.shininess, 128.0f);
}

TEST_F(TorusTest, RingsSpaceTheirSlotsAndTiltThemOutwards) {
    for (int i = 0; i < 4; ++i)
        torus.addSlot(kWhorlPetal, 0, 0, 0);
    torus.addSlot(kWhorlPistil, 0, 0, 0);
    torus.relayoutRings(40, 0, 100, 0);
    const SlotList& petals = parts(kWhorlPetal);
    for (int i = 0; i < 4; ++i) {
        const FlowerPart& slot = *petals[i];
        EXPECT_NEAR(slot.theta, kPi + i * kPi / 2, 1e-12);
        EXPECT_EQ(slot.radius, 100.0);
        EXPECT_EQ(slot.index, i);
        // 45 degrees off the vertical, leaning away from the axis towards its azimuth.
        const Vector3 up = slotUp(slot);
        EXPECT_NEAR(angleBetween(up, {0, 1, 0}), kPi / 4, 1e-9);
        const Vector3 outward{std::cos(slot.theta), 0, std::sin(slot.theta)};
        EXPECT_GT(dot(up, outward), 0.7);
        const Vector3 at = slotOrigin(slot);
        EXPECT_GT(dot(Vector3{at.x, 0, at.z}, outward), 0.0);
    }
    // One pistil in a centred ring stands upright on the axis.
    const FlowerPart& pistil = *parts(kWhorlPistil)[0];
    EXPECT_EQ(pistil.radius, 0.0);
    EXPECT_NEAR(angleBetween(slotUp(pistil), {0, 1, 0}), 0.0, 1e-9);
    EXPECT_NEAR(slotOrigin(pistil).x, 0.0, 1e-12);
    EXPECT_NEAR(slotOrigin(pistil).z, 0.0, 1e-12);
}

TEST_F(TorusTest, BandsSpreadOrgansOnAnEqualAreaSpiral) {
    torus.layoutBand(kWhorlPetal, 100, 101, 5);
    EXPECT_TRUE(parts(kWhorlPetal).empty());

    torus.layoutBand(kWhorlPistil, 20, 120, 8);
    ASSERT_GE(parts(kWhorlPistil).size(), 3u);
    EXPECT_NEAR(parts(kWhorlPistil)[0]->radius, 20.0, 1e-9);
    const double golden = 137.5 * kPi / 180.0;
    for (size_t k = 0; k < parts(kWhorlPistil).size(); ++k) {
        const FlowerPart& slot = *parts(kWhorlPistil)[k];
        EXPECT_NEAR(slot.theta, k * golden, 1e-9);
        EXPECT_EQ(slot.whorl, kWhorlPistil);
        EXPECT_EQ(slot.size, 8);
        EXPECT_EQ(slot.index, static_cast<int>(k));
        if (k > 0) {
            EXPECT_GT(slot.radius, parts(kWhorlPistil)[k - 1]->radius);
        }
    }

    torus.layoutBand(kWhorlStamen, 20, 120, 8, 90.0);
    ASSERT_GE(parts(kWhorlStamen).size(), 2u);
    EXPECT_GT(parts(kWhorlStamen)[0]->radius, 20.0 + 1e-6);
    EXPECT_NEAR(parts(kWhorlStamen)[1]->theta, kPi / 2, 1e-12);
    EXPECT_LE(parts(kWhorlStamen).back()->radius, 120.0 + 1e-9);
}

TEST_F(TorusTest, AttachedOrgansStandAlongTheDrawnAxis) {
    torus.addSlot(kWhorlPetal, 150, 0.3, 0);
    const Vector3 base = slotOrigin(*parts(kWhorlPetal)[0]);
    const Vector3 direction = unit(Vector3{0.3, 1.0, 0.2});
    const PointList axis = {base, base + direction * 0.1, base + direction * 0.2};
    torus.attachOrgan(kWhorlPetal, 0, std::make_unique<AxisNode>(nextId(), kKindPetal), axis,
                      {0, 0, 1});
    const FlowerPart& slot = *parts(kWhorlPetal)[0];
    ASSERT_TRUE(slot.holdsOrgan());
    // The organ is re-fitted along +y from the origin; under the slot it lies on the axis.
    const PointList& local = slot.object->mainAxis.points;
    ASSERT_EQ(local.size(), 3u);
    EXPECT_NEAR(local[0].length(), 0.0, 1e-12);
    EXPECT_NEAR(angleBetween(local[2], {0, 1, 0}), 0.0, 1e-9);
    for (size_t i = 0; i < local.size(); ++i)
        EXPECT_NEAR(distance(transformPoint(slot.organMatrix(), local[i]), axis[i]), 0.0, 1e-9);

    // A slot that does not exist takes nothing.
    torus.attachOrgan(kWhorlPetal, 7, std::make_unique<AxisNode>(nextId(), kKindPetal), axis,
                      {0, 0, 1});
    EXPECT_EQ(parts(kWhorlPetal).size(), 1u);
}

TEST_F(TorusTest, OrgansAreFoundReplacedAndDetached) {
    buildFlower();
    const int petalId = parts(kWhorlPetal)[5]->object->id;
    const OrganLookup self = torus.findOrgan(torus.id);
    EXPECT_TRUE(self.found);
    EXPECT_EQ(self.organ, &torus);

    const OrganLookup found = torus.findOrgan(petalId);
    ASSERT_TRUE(found.found);
    EXPECT_EQ(found.organ->id, petalId);
    const Matrix4 expected = parts(kWhorlPetal)[5]->organMatrix();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(found.matrix.data()[i], expected.data()[i], 1e-12);
    EXPECT_FALSE(torus.findOrgan(9999).found);

    auto replacement = std::make_unique<AxisNode>(nextId(), kKindPetal);
    const int replacementId = replacement->id;
    EXPECT_TRUE(torus.replaceOrgan(petalId, std::move(replacement), {1, 1, 1}));
    EXPECT_FALSE(torus.findOrgan(petalId).found);
    EXPECT_TRUE(torus.findOrgan(replacementId).found);
    EXPECT_FALSE(torus.replaceOrgan(petalId, std::make_unique<AxisNode>(nextId()), {}));

    EXPECT_TRUE(torus.detachOrgan(replacementId));
    EXPECT_EQ(parts(kWhorlPetal)[5]->object, nullptr);
    const int sepalId = parts(kWhorlSepal)[1]->object->id;
    EXPECT_TRUE(torus.detachOrgan(sepalId));
    EXPECT_FALSE(parts(kWhorlSepal)[1]->holdsOrgan());
    EXPECT_FALSE(torus.detachOrgan(sepalId));
}

TEST_F(TorusTest, NearestEmptySlotFollowsTheRay) {
    buildFlower();
    const FlowerPart& target = *parts(kWhorlStamen)[4];
    const Vector3 at = slotOrigin(target);
    const Vector3 eye = at + Vector3{0.5, 2.0, 3.0};
    const SlotHit hit = torus.nearestEmptySlot(eye, at - eye);
    ASSERT_TRUE(hit.found);
    EXPECT_EQ(hit.whorl, kWhorlStamen);
    EXPECT_EQ(hit.index, 4);
    EXPECT_NEAR(distance(hit.position, at), 0.0, 1e-12);
    EXPECT_NEAR(hit.side.length(), 1.0, 1e-12);
    EXPECT_LT(dot(hit.side, at - eye), 0.0);
    // A filled slot is not offered; a ray that passes everything finds nothing.
    const Vector3 filled = slotOrigin(*parts(kWhorlStamen)[2]);
    const SlotHit other = torus.nearestEmptySlot(filled + Vector3{0, 0, 5}, {0, 0, -1});
    EXPECT_FALSE(other.found && other.whorl == kWhorlStamen && other.index == 2);
    EXPECT_FALSE(torus.nearestEmptySlot({5, 5, 5}, {1, 0, 0}).found);
}

TEST_F(TorusTest, EditsScaleTheReceptacleAndItsOrgans) {
    buildFlower();
    // The height counts the organs standing on the receptacle.
    Vector3 lo, hi;
    torus.boundingBox(lo, hi, Matrix4(), true);
    const double height = hi.y;
    EXPECT_GT(height, torus.m_basicCurve.points.front().y + 0.2);
    const double organLength = parts(kWhorlPetal)[5]->object->mainAxis.points.back().y;

    torus.reshapeByStroke(upright({}, 0.1 * height));
    EXPECT_NEAR(torus.mainAxis.points[2].y, 0.2 * height, 1e-9);
    EXPECT_NEAR(parts(kWhorlPetal)[5]->object->mainAxis.points.back().y, 0.2 * organLength, 1e-9);

    torus.scale(-1.0);
    EXPECT_NEAR(torus.mainAxis.points[2].y, 0.2 * height, 1e-9);

    // Only the single control point moves the profile; organs keep their size.
    const Stroke profile = torus.m_basicCurve;
    torus.editByPick(1, 1, {0, 5, 0}, parameters);
    EXPECT_EQ(torus.m_basicCurve.points, profile.points);
    torus.editByPick(0, 1, {0, 0.4, 0}, parameters);
    EXPECT_NEAR(torus.m_basicCurve.points.front().y, 0.4, 1e-9);
    EXPECT_NEAR(parts(kWhorlPetal)[5]->object->mainAxis.points.back().y, 0.2 * organLength, 1e-9);
    EXPECT_NEAR(distance(slotOrigin(*parts(kWhorlPetal)[5]),
                         transformPoint(torus.placeSlot(parts(kWhorlPetal)[5]->theta,
                                                        parts(kWhorlPetal)[5]->radius),
                                        {})),
                0.0, 1e-12);
}

TEST_F(TorusTest, CloneIsADeepIndependentCopy) {
    buildFlower();
    torus.whorl(kWhorlPetal).layout = WhorlLayout::Band;
    torus.setTexture(true, 0, 1);
    torus.strokes.push_back(std::make_unique<Stroke>(upright({0, 0, 0}, 0.2)));
    auto copy = torus.clone(ids);
    auto& flower = dynamic_cast<FlowerTorusNode&>(*copy);
    EXPECT_NE(flower.id, torus.id);
    EXPECT_TRUE(flower.whorl(kWhorlPetal).isBand());
    EXPECT_TRUE(flower.hasTexture);
    EXPECT_EQ(flower.textureFront, 0);
    EXPECT_EQ(flower.textureBack, 1);
    ASSERT_EQ(flower.strokes.size(), 1u);
    EXPECT_NE(flower.strokes[0].get(), torus.strokes[0].get());
    EXPECT_EQ(flower.m_basicCurve.points, torus.m_basicCurve.points);
    ASSERT_EQ(flower.whorl(kWhorlPetal).parts.size(), parts(kWhorlPetal).size());
    const FlowerPart& slot = *flower.whorl(kWhorlPetal).parts[5];
    ASSERT_TRUE(slot.holdsOrgan());
    EXPECT_NE(slot.object.get(), parts(kWhorlPetal)[5]->object.get());
    EXPECT_NE(slot.object->id, parts(kWhorlPetal)[5]->object->id);
    EXPECT_EQ(slot.theta, parts(kWhorlPetal)[5]->theta);
    torus.scale(2.0);
    EXPECT_NE(flower.mainAxis.points[2].y, torus.mainAxis.points[2].y);
}

TEST_F(TorusTest, RecordsRoundTripWithEveryWhorl) {
    buildFlower();
    torus.setMaterial({0.5f, 0.25f, 0.125f, 1}, {0.1f, 0.2f, 0.3f, 1}, {0.3f, 0.2f, 0.1f, 1}, 17);
    const std::string text = recordOf(torus);
    EXPECT_NE(text.find("Torus "), std::string::npos);
    EXPECT_NE(text.find("Pistil Parts 3\n"), std::string::npos);
    EXPECT_NE(text.find("end Sepal Parts\n\n"), std::string::npos);
    auto read = readBack(text, reading());
    ASSERT_NE(read, nullptr);
    auto& flower = dynamic_cast<FlowerTorusNode&>(*read);
    EXPECT_EQ(flower.whorl(kWhorlStamen).parts.size(), 6u);
    EXPECT_TRUE(flower.whorl(kWhorlPistil).parts[0]->holdsOrgan());
    EXPECT_FALSE(flower.whorl(kWhorlPistil).parts[1]->holdsOrgan());
    EXPECT_EQ(flower.whorl(kWhorlPistil).parts[1]->object, nullptr);
    ASSERT_EQ(flower.body.positions.cells().size(), torus.body.positions.cells().size());
    for (size_t i = 0; i < torus.body.positions.cells().size(); ++i)
        ASSERT_NEAR(distance(flower.body.positions.cells()[i], torus.body.positions.cells()[i]), 0,
                    1e-5);
    EXPECT_EQ(flower.whorl(kWhorlSepal).parts[4]->index, 4);
    // Ids are fresh, so the texts differ only in them.
    TextWriter again;
    flower.save(again, WriteContext{});
    TextWriter original;
    torus.save(original, WriteContext{});
    const auto stripIds = [](const std::string& s) {
        static const std::regex ids("(Pistil|Stamen|Petal|end) [0-9]+\n");
        return std::regex_replace(s, ids, "$1 #\n");
    };
    const std::string a = stripIds(again.str()), b = stripIds(original.str());
    EXPECT_TRUE(a == b) << "the record changed on reading it back";
}

TEST_F(TorusTest, HostileRecordsAreRejectedOrRepaired) {
    buildFlower();
    std::string text = recordOf(torus);
    // An absurd slot count is refused before anything is allocated.
    std::string hostile = text;
    hostile.replace(hostile.find("stamen parts 6"), 14, "stamen parts 99999999");
    TextReader in(hostile);
    const RecordReaderTable table = readers();
    const ReadContext context = reading();
    RecordInput input{in, table, context};
    EXPECT_EQ(readTypedRecord(input), nullptr);
    EXPECT_FALSE(in.ok());

    // An organ whose closing line does not match is dropped and its slot left empty,
    // never marked filled without an organ.
    std::string mismatched = text;
    const std::string pistilEnd =
        "end " + std::to_string(parts(kWhorlPistil)[0]->object->id) + "\n";
    mismatched.replace(mismatched.find(pistilEnd), pistilEnd.size(), "end 99999\n");
    auto dropped = readBack(mismatched, reading());
    ASSERT_NE(dropped, nullptr);
    const FlowerPart& emptied =
        *dynamic_cast<const FlowerTorusNode&>(*dropped).whorl(kWhorlPistil).parts[0];
    EXPECT_EQ(emptied.object, nullptr);
    EXPECT_FALSE(emptied.holdsOrgan());
    EXPECT_TRUE(
        dynamic_cast<const FlowerTorusNode&>(*dropped).whorl(kWhorlStamen).parts[2]->holdsOrgan());

    // Resolutions outside the dialog's range give a body that can still be drawn.
    std::string wide = text;
    wide.replace(wide.find("m_resH 20"), 9, "m_resH 100000");
    auto read = readBack(wide, reading());
    ASSERT_NE(read, nullptr);
    const auto& flower = dynamic_cast<const FlowerTorusNode&>(*read);
    EXPECT_EQ(flower.m_resH, Parameters::kMaxResolution);
    EXPECT_EQ(flower.body.positions.columns(), Parameters::kMaxResolution);
}

TEST_F(TorusTest, ExportWritesTheBodyThenEveryOrganTheSameInAnyLocale) {
    buildFlower();
    const auto exportText = [&] {
        ObjExport out;
        const int vertices = torus.exportObj(out, Matrix4(), 0);
        return std::make_pair(vertices, out.obj.take() + "\n--mtl--\n" + out.mtl.take());
    };
    const auto [vertices, text] = exportText();
    const std::string id = std::to_string(torus.id);
    EXPECT_EQ(vertices, 2 * torus.m_resH * torus.m_resV);
    EXPECT_NE(text.find("g stemFront_0_" + id + "\nusemtl torus" + id + "\n"), std::string::npos);
    EXPECT_NE(text.find("g stemBack_0_" + id + "\n"), std::string::npos);
    EXPECT_NE(text.find("newmtl torus" + id + "\n"), std::string::npos);
    EXPECT_NE(text.find("f 1/1/1 "), std::string::npos);

    ScopedLocale decimalComma(LC_ALL, kDecimalCommaLocale);
    if (!decimalComma.active())
        GTEST_SKIP() << "no German locale";
    const auto [germanVertices, germanText] = exportText();
    TextWriter record;
    torus.save(record, WriteContext{});
    decimalComma.restore();
    EXPECT_EQ(germanVertices, vertices);
    EXPECT_TRUE(germanText == text) << "the export depends on the locale";
    TextWriter again;
    torus.save(again, WriteContext{});
    EXPECT_TRUE(record.str() == again.str()) << "the record depends on the locale";
}
