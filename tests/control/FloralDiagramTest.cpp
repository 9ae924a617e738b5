#include "control/FloralDiagram.h"

#include "math/TextWriter.h"
#include "model/AxisNode.h"
#include "model/IdCounter.h"
#include "model/ObjExport.h"
#include "model/Parameters.h"
#include "organs/FlowerTorusNode.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <set>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoDegrees = 2.0 * kPi / 180.0;
constexpr int kWidth = 200;
constexpr int kHeight = 300;

// A diagram over a real receptacle, painted once into a 200 x 300 image so that
// its centre is (100, 150).
class FloralDiagramTest : public ::testing::Test {
protected:
    FloralDiagramTest() {
        diagram.setLookup([this](int id) -> FlowerTorusNode* {
            return torus && torus->id == id ? torus.get() : nullptr;
        });
        diagram.setSettings(&settings);
        diagram.setCountsDisplay([this](const WhorlSummary& s) { shown = s; });
        repaint();
    }

    SlotList& parts(int whorl) { return torus->whorl(whorl).parts; }

    void repaint() {
        image.fill(Qt::white);
        QPainter painter(&image);
        diagram.paint(painter, 0, 0, kWidth, kHeight);
    }

    // The pixel `out` pixels outwards and `across` pixels sideways from a slot's
    // glyph position.
    QRgb pixelNear(const FlowerPart& slot, double out, double across) const {
        const QPoint c = diagram.centre();
        const double r = slot.radius + out;
        const double x = c.x() + r * std::cos(slot.theta) - across * std::sin(slot.theta);
        const double y = c.y() + r * std::sin(slot.theta) + across * std::cos(slot.theta);
        return image.pixel(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
    }

    IdCounter ids;
    Parameters values;
    std::unique_ptr<FlowerTorusNode> torus =
        std::make_unique<FlowerTorusNode>(ids.nextId(), values.receptacle);
    FloralDiagramSettings settings;
    WhorlSummary shown;
    FloralDiagram diagram;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
};

TEST_F(FloralDiagramTest, NewFlowerStandsOnItsRingsWithStamensBelowAndPetalsLeft) {
    diagram.bindNewFlower(torus.get());
    ASSERT_EQ(parts(kWhorlPistil).size(), 1u);
    ASSERT_EQ(parts(kWhorlStamen).size(), 6u);
    ASSERT_EQ(parts(kWhorlPetal).size(), 6u);
    EXPECT_TRUE(parts(kWhorlSepal).empty());
    EXPECT_EQ(shown.counts, (std::array<int, 4>{1, 6, 6, 0}));
    EXPECT_EQ(parts(kWhorlPistil)[0]->radius, 0.0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(parts(kWhorlStamen)[i]->theta, kPi / 2 + i * kPi / 3, 1e-12);
        EXPECT_NEAR(parts(kWhorlPetal)[i]->theta, kPi + i * kPi / 3, 1e-12);
        EXPECT_EQ(parts(kWhorlStamen)[i]->radius, 40.0);
        EXPECT_EQ(parts(kWhorlPetal)[i]->radius, 60.0);
    }
    // In the window, the first stamen sits straight below the centre and the first
    // petal reaches out to the left of it.
    const QPoint c = diagram.centre();
    const DiagramHit stamen = diagram.hitTest(c.x(), c.y() + 40);
    EXPECT_EQ(stamen.kind, kWhorlStamen);
    EXPECT_EQ(stamen.index, 0);
    const DiagramHit petal = diagram.hitTest(c.x() - 65, c.y());
    EXPECT_EQ(petal.kind, kWhorlPetal);
    EXPECT_EQ(petal.index, 0);
    EXPECT_EQ(diagram.hitTest(c.x(), c.y()).kind, kWhorlPistil);
}

TEST_F(FloralDiagramTest, BindingShowsCountsAndKeepsRingsInOrder) {
    diagram.bindNewFlower(torus.get());
    diagram.setIndefinite(kWhorlSepal, true);
    EXPECT_EQ(shown.counts[3], static_cast<int>(parts(kWhorlSepal).size()));
    EXPECT_TRUE(shown.indefinite[3]);

    // Petals dragged beyond the sepal ring push the inner rings inwards on binding.
    FloralDiagram other;
    other.setLookup([this](int) { return torus.get(); });
    for (auto& slot : parts(kWhorlPetal))
        slot->radius = 150.0;
    for (auto& slot : parts(kWhorlStamen))
        slot->radius = 150.0;
    other.bind(torus.get());
    const int sepal = other.ringRadius(3);
    EXPECT_EQ(other.ringRadius(2), sepal - 1);
    EXPECT_EQ(other.ringRadius(1), sepal - 2);
    EXPECT_EQ(other.ringRadius(0), FloralDiagram::kInitialRingRadii[0]);

    // Petals further out than the empty sepal ring keep their own ring; the empty
    // ring moves outside it instead of pulling it in under the petals.
    FlowerTorusNode petalsOnly(ids.nextId(), values.receptacle);
    for (int i = 0; i < 5; ++i)
        petalsOnly.addSlot(kWhorlPetal, 150.0, i, 10);
    FloralDiagram third;
    third.setLookup([&](int) { return &petalsOnly; });
    third.bind(&petalsOnly);
    EXPECT_EQ(third.ringRadius(2), 150);
    EXPECT_GT(third.ringRadius(3), 150);
}

TEST_F(FloralDiagramTest, RaisedCountAddsSlotsTwoDegreesApartFromOneRadian) {
    diagram.bindNewFlower(torus.get());
    settings.sizes[ringOf(kWhorlPetal)] = 7;
    ASSERT_TRUE(diagram.addOrgans(3, kWhorlPetal));
    ASSERT_EQ(parts(kWhorlPetal).size(), 9u);
    for (int i = 6; i < 9; ++i) {
        const FlowerPart& slot = *parts(kWhorlPetal)[i];
        EXPECT_NEAR(slot.theta, 1.0 + i * kTwoDegrees, 1e-12);
        EXPECT_EQ(slot.radius, 60.0);
        EXPECT_EQ(slot.size, 7);
        EXPECT_EQ(slot.index, i);
    }
    // Removing takes the newest first and never more than there are.
    const FlowerPart* sixth = parts(kWhorlPetal)[5].get();
    ASSERT_TRUE(diagram.removeOrgans(3, kWhorlPetal));
    EXPECT_EQ(parts(kWhorlPetal).back().get(), sixth);
    ASSERT_TRUE(diagram.removeOrgans(50, kWhorlPetal));
    EXPECT_TRUE(parts(kWhorlPetal).empty());
    EXPECT_FALSE(diagram.removeOrgans(1, kWhorlPetal));
}

TEST_F(FloralDiagramTest, RingsCannotBeDraggedPastTheirNeighbours) {
    diagram.bindNewFlower(torus.get());
    const int cy = diagram.centre().y();
    constexpr int kPistilRing = DiagramHit::kRingHandle + 0;
    constexpr int kStamenRing = DiagramHit::kRingHandle + 1;
    constexpr int kSepalRing = DiagramHit::kRingHandle + 3;
    EXPECT_EQ(diagram.hitTest(10, cy - 40).kind, kStamenRing);

    EXPECT_FALSE(diagram.dragTo(10, cy - 61, kStamenRing, 1));
    EXPECT_FALSE(diagram.dragTo(10, cy - 19, kStamenRing, 1));
    EXPECT_FALSE(diagram.dragTo(10, cy + 1, kPistilRing, 0));
    EXPECT_FALSE(diagram.dragTo(10, cy - 59, kSepalRing, 3));
    EXPECT_EQ(diagram.ringRadius(1), 40);
    EXPECT_EQ(parts(kWhorlStamen)[0]->radius, 40.0);
    EXPECT_EQ(diagram.ringRadius(3), 100);

    // A band outside a moved ring follows its new inner border.
    diagram.setIndefinite(kWhorlPetal, true);
    ASSERT_FALSE(parts(kWhorlPetal).empty());
    ASSERT_TRUE(diagram.dragTo(10, cy - 50, kStamenRing, 1));
    EXPECT_EQ(diagram.ringRadius(1), 50);
    for (const auto& slot : parts(kWhorlStamen))
        EXPECT_EQ(slot->radius, 50.0);
    ASSERT_FALSE(parts(kWhorlPetal).empty());
    for (const auto& slot : parts(kWhorlPetal)) {
        EXPECT_GE(slot->radius, 50.0 - 1e-9);
        EXPECT_LE(slot->radius, 60.0 + 1e-9);
    }
}

TEST_F(FloralDiagramTest, DraggedOrganTakesPolarPositionAndKeepsThetaAtTheCentre) {
    diagram.bindNewFlower(torus.get());
    const QPoint c = diagram.centre();
    FlowerPart& petal = *parts(kWhorlPetal)[3];
    // Above the centre is 3/2 pi: window y grows downwards.
    ASSERT_TRUE(diagram.dragTo(c.x(), c.y() - 30, kWhorlPetal, 3));
    EXPECT_NEAR(petal.theta, 3 * kPi / 2, 1e-12);
    EXPECT_EQ(petal.radius, 30.0);

    ASSERT_TRUE(diagram.dragTo(c.x(), c.y(), kWhorlPetal, 3));
    EXPECT_NEAR(petal.theta, 3 * kPi / 2, 1e-12);
    EXPECT_EQ(petal.radius, 0.0);
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(std::isfinite(petal.basicTransAndRot[i]));
    EXPECT_FALSE(diagram.dragTo(c.x(), c.y(), kWhorlSepal, 0)) << "a whorl without slots";
    EXPECT_FALSE(diagram.dragTo(c.x(), c.y(), kWhorlPetal, 6));
}

TEST_F(FloralDiagramTest, MarkedAnnulusGetsOneCopyPerSlotAndNothingElseChanges) {
    diagram.bindNewFlower(torus.get());
    const AxisNode prototype(ids.nextId(), kKindPetal);
    ASSERT_TRUE(diagram.applyToOne(prototype, kWhorlPetal, 0, ids));
    const int firstCopy = parts(kWhorlPetal)[0]->object->id;

    // Marking twice, as a mouse drag does, leaves the filled slot filled, and
    // neither the record nor the export sees the marks.
    const auto written = [&] {
        TextWriter record;
        torus->save(record, WriteContext{});
        ObjExport out;
        torus->exportObj(out, Matrix4(), 0);
        return record.take() + out.obj.take();
    };
    const std::string unmarked = written();
    ASSERT_TRUE(diagram.markRange(55, 65));
    ASSERT_TRUE(diagram.markRange(65, 55));
    EXPECT_TRUE(parts(kWhorlPetal)[0]->holdsOrgan());
    EXPECT_TRUE(diagram.selection().isMarked(torus->id, {kWhorlPetal, 0}));
    EXPECT_TRUE(written() == unmarked) << "the marks reached the file or the export";
    ASSERT_TRUE(diagram.applyToOne(prototype, kWhorlPetal, 4, ids));

    std::set<int> copies;
    for (const auto& slot : parts(kWhorlPetal)) {
        ASSERT_NE(slot->object, nullptr);
        EXPECT_FALSE(diagram.selection().isMarked(torus->id, {kWhorlPetal, slot->index}));
        copies.insert(slot->object->id);
    }
    EXPECT_EQ(copies.size(), 6u);
    EXPECT_FALSE(copies.count(prototype.id));
    EXPECT_FALSE(copies.count(firstCopy)) << "a marked filled slot gets a new copy";
    for (int whorl : {kWhorlPistil, kWhorlStamen})
        for (const auto& slot : torus->whorl(whorl).parts) {
            EXPECT_EQ(slot->object, nullptr);
            EXPECT_FALSE(diagram.selection().isMarked(torus->id, {whorl, slot->index}));
        }

    // An unmarked slot takes a copy of its own only.
    EXPECT_FALSE(diagram.clearMarks());
    ASSERT_TRUE(diagram.applyToOne(prototype, kWhorlStamen, 2, ids));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(parts(kWhorlStamen)[i]->object != nullptr, i == 2);
    EXPECT_FALSE(diagram.applyToOne(prototype, DiagramHit::kRingHandle + 1, 1, ids));
}

TEST_F(FloralDiagramTest, ReceptacleAppliedToItsOwnMarksIsCopiedOnceNotNested) {
    diagram.bindNewFlower(torus.get());
    diagram.markRange(55, 65);
    ASSERT_TRUE(diagram.applyToPending(*torus, ids));
    for (const auto& slot : parts(kWhorlPetal)) {
        ASSERT_EQ(slot->object->kind, kKindTorus);
        const auto& copy = static_cast<const FlowerTorusNode&>(*slot->object);
        ASSERT_EQ(copy.whorl(kWhorlPetal).parts.size(), 6u);
        for (const auto& inner : copy.whorl(kWhorlPetal).parts)
            EXPECT_EQ(inner->object, nullptr);
    }
}

// The marks and the slots selected for editing are the diagram's, held by slot
// position: they last while it shows their receptacle, go with the slots it removes
// and are forgotten when it shows another receptacle or none.
TEST_F(FloralDiagramTest, TheSelectionLastsWhileItsReceptacleIsShownAndGoesWithRemovedSlots) {
    diagram.bindNewFlower(torus.get());
    SlotSelection& selection = diagram.selection();
    const int id = torus->id;
    ASSERT_TRUE(diagram.markRange(55, 65));
    ASSERT_TRUE(diagram.markRange(35, 45));
    selection.toggleSelected(id, {kWhorlStamen, 1});
    diagram.bind(torus.get());
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(selection.isMarked(id, {kWhorlPetal, i})) << i;
    EXPECT_TRUE(selection.isSelected(id, {kWhorlStamen, 1}));
    EXPECT_FALSE(selection.isMarked(ids.peek(), {kWhorlPetal, 0})) << "another receptacle";

    // Slots removed and added again at the same places come back unmarked.
    ASSERT_TRUE(diagram.removeOrgans(2, kWhorlPetal));
    ASSERT_TRUE(diagram.addOrgans(2, kWhorlPetal));
    EXPECT_TRUE(selection.isMarked(id, {kWhorlPetal, 3}));
    EXPECT_FALSE(selection.isMarked(id, {kWhorlPetal, 4}));
    EXPECT_FALSE(selection.isMarked(id, {kWhorlPetal, 5}));
    // A whorl refilled as a band starts with nothing marked or selected.
    ASSERT_TRUE(diagram.setIndefinite(kWhorlStamen, true));
    ASSERT_GT(parts(kWhorlStamen).size(), 1u);
    EXPECT_FALSE(selection.isMarked(id, {kWhorlStamen, 0}));
    EXPECT_FALSE(selection.isSelected(id, {kWhorlStamen, 1}));

    FlowerTorusNode other(ids.nextId(), values.receptacle);
    diagram.bind(&other);
    diagram.bind(torus.get());
    EXPECT_FALSE(selection.isMarked(id, {kWhorlPetal, 0}));
    ASSERT_TRUE(diagram.markRange(55, 65));
    diagram.unbind();
    diagram.bind(torus.get());
    EXPECT_FALSE(selection.isMarked(id, {kWhorlPetal, 0}));
    EXPECT_FALSE(diagram.clearMarks());
}

TEST_F(FloralDiagramTest, DeletedReceptacleLeavesTheDiagramUnbound) {
    diagram.bindNewFlower(torus.get());
    diagram.markRange(55, 65);
    torus.reset();
    const AxisNode prototype(ids.nextId());
    const QPoint c = diagram.centre();
    EXPECT_EQ(diagram.receptacle(), nullptr);
    EXPECT_FALSE(diagram.addOrgans(2, kWhorlPetal));
    EXPECT_FALSE(diagram.removeOrgans(2, kWhorlPetal));
    EXPECT_FALSE(diagram.arrange());
    EXPECT_FALSE(diagram.setIndefinite(kWhorlStamen, true));
    EXPECT_FALSE(diagram.dragTo(c.x() - 10, c.y(), kWhorlPetal, 0));
    EXPECT_FALSE(diagram.dragTo(10, c.y() - 45, DiagramHit::kRingHandle + 1, 1));
    EXPECT_FALSE(diagram.markRange(0, 100));
    EXPECT_FALSE(diagram.clearMarks());
    EXPECT_FALSE(diagram.applyToPending(prototype, ids));
    EXPECT_FALSE(diagram.applyToOne(prototype, kWhorlPetal, 0, ids));
    EXPECT_EQ(diagram.hitTest(c.x(), c.y()).kind, DiagramHit::kNothing);
    repaint();
    EXPECT_EQ(diagram.ringRadius(1), 40);
}

TEST_F(FloralDiagramTest, PaintFillsGlyphsByState) {
    diagram.bindNewFlower(torus.get());
    const AxisNode prototype(ids.nextId(), kKindPetal);
    diagram.applyToOne(prototype, kWhorlPetal, 0, ids);
    repaint();
    EXPECT_EQ(pixelNear(*parts(kWhorlPetal)[0], 3, 4), qRgb(255, 0, 0)) << "filled petal";
    EXPECT_EQ(pixelNear(*parts(kWhorlPetal)[1], 3, 4), qRgb(230, 230, 230)) << "empty petal";

    diagram.markRange(35, 45);
    diagram.setHighlight(35, 45);
    repaint();
    EXPECT_EQ(pixelNear(*parts(kWhorlStamen)[1], -3, -5), qRgb(100, 100, 255)) << "marked stamen";
    const QPoint c = diagram.centre();
    EXPECT_EQ(image.pixel(c.x() + 20, c.y() + 30), qRgb(100, 100, 255)) << "inside the annulus";
    EXPECT_EQ(image.pixel(c.x() + 20, c.y() + 20), qRgb(255, 255, 255)) << "inside the inner disc";
    EXPECT_EQ(image.pixel(10, c.y() - 100), qRgb(0, 255, 0)) << "sepal ring handle";
}

// The floral formula of the bound flower, sepals to pistils, renewed on every paint
// so that it follows each whorl edit, and written under the diagram.
TEST_F(FloralDiagramTest, TheFormulaFollowsEveryWhorlEditAndStandsUnderTheDiagram) {
    std::string formula = "unset";
    diagram.setFormulaDisplay([&](const std::string& shown) { formula = shown; });
    const auto captionInk = [&] {
        int dark = 0;
        for (int y = kHeight - 24; y < kHeight; ++y)
            for (int x = 20; x < diagram.centre().x() - 2; ++x)
                dark += qGray(image.pixel(x, y)) < 80;
        return dark;
    };
    repaint();
    EXPECT_EQ(formula, "");
    EXPECT_EQ(captionInk(), 0);

    diagram.bindNewFlower(torus.get());
    repaint();
    EXPECT_EQ(formula, "C6 A6 G1");
    EXPECT_GT(captionInk(), 0);

    diagram.addOrgans(5, kWhorlSepal);
    repaint();
    EXPECT_EQ(formula, "K5 C6 A6 G1");
    // Beyond a dozen a whorl counts as many, as does a band.
    diagram.addOrgans(7, kWhorlPetal);
    diagram.setIndefinite(kWhorlStamen, true);
    diagram.removeOrgans(1, kWhorlPistil);
    repaint();
    EXPECT_EQ(formula, "K5 C\u221e A\u221e");
    diagram.addOrgans(2, kWhorlPistil);
    diagram.removeOrgans(1, kWhorlPetal);
    diagram.setIndefinite(kWhorlStamen, false);
    diagram.addOrgans(3, kWhorlStamen);
    repaint();
    EXPECT_EQ(formula, "K5 C12 A3 G2");
}

} // namespace
