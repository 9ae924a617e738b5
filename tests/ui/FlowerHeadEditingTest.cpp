#include "OrganSketchingFixture.h"

#include "control/FloralDiagram.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"

#include <numbers>

// Editing a new flower head (mode 6) with the mouse.
class FlowerHeadEditingTest : public OrganSketchingFixture {
protected:
    FlowerTorusNode* createFlower() {
        run(kCmdFlowerCreation);
        return work<FlowerTorusNode>();
    }

    static int filledSlots(const FlowerTorusNode& flower) {
        int filled = 0;
        forEachSlot(flower, [&](const FlowerPart& slot) { filled += slot.object ? 1 : 0; });
        return filled;
    }

    static void expectNear(const Vector3& a, const Vector3& b, double tolerance) {
        EXPECT_NEAR(a.x, b.x, tolerance);
        EXPECT_NEAR(a.y, b.y, tolerance);
        EXPECT_NEAR(a.z, b.z, tolerance);
    }
};

TEST_F(FlowerHeadEditingTest, AProfileStrokeEndsAtTheOldBaseWithTheDialogsResolutions) {
    FlowerTorusNode* flower = createFlower();
    ASSERT_NE(flower, nullptr);
    const Vector3 base = flower->m_basicCurve.back();
    controller().settings().parameters.receptacle = {12, 30};
    floralDiagram().unbind();
    run(kCmdShowWireFrame);
    run(kCmdToolPen);

    // Pressed left of the axis at height 0.6, dragged far beyond the base.
    drag(straightLine({-0.3, 0.6, 0.0}, {-0.9, -0.1, 0.0}, 12));

    EXPECT_EQ(flower->m_resH, 30);
    EXPECT_EQ(flower->m_resV, 12);
    ASSERT_EQ(flower->m_basicCurve.size(), 13);
    expectNear(flower->m_basicCurve.back(), base, 1e-9);
    EXPECT_EQ(flower->m_basicCurve.front().x, 0.0);
    EXPECT_NEAR(flower->m_basicCurve.front().y, 0.6, 0.01);
    for (const Vector3& p : flower->m_basicCurve.points)
        EXPECT_EQ(p.z, 0.0);
    // The diagram shows the receptacle again, with its new ring placements.
    EXPECT_EQ(floralDiagram().receptacle(), flower);
    EXPECT_EQ(controller().lastStep(), "Redraw receptacle");
}

TEST_F(FlowerHeadEditingTest, AnOrganStrokeFillsOnlyTheEmptySlotItStartsFrom) {
    FlowerTorusNode* flower = createFlower();
    ASSERT_NE(flower, nullptr);
    run(kCmdToolPen);
    ASSERT_FALSE(controller().settings().showWireFrame);

    // Far from every slot: nothing is attached.
    drag(straightLine({-0.8, 0.9, 0.0}, {-1.0, 1.1, 0.0}, 10));
    EXPECT_EQ(filledSlots(*flower), 0);

    // The first petal stands left of the axis, its drawing plane is z = 0.
    FlowerPart& slot = *flower->whorl(kWhorlPetal).parts[0];
    ASSERT_NEAR(slot.theta, std::numbers::pi, 1e-12);
    const Vector3 start = slot.basicTransAndRot.translationPart();
    const Vector3 end = start + Vector3(-0.3, 0.3, 0.0);
    drag(straightLine(start, end, 10));

    ASSERT_NE(slot.object, nullptr);
    EXPECT_TRUE(slot.holdsOrgan());
    EXPECT_EQ(filledSlots(*flower), 1);
    // The organ, a copy of the library selection (a stem when nothing is selected),
    // stands along the drawn stroke.
    ASSERT_NE(dynamic_cast<FlowerStemNode*>(slot.object.get()), nullptr);
    expectNear(transformPoint(slot.organMatrix(), slot.object->mainAxis.front()), start, 0.01);
    expectNear(transformPoint(slot.organMatrix(), slot.object->mainAxis.back()), end, 0.01);

    // A stroke from the filled slot keeps its organ.
    const int organ = slot.object->id;
    drag(straightLine(start, start + Vector3(-0.1, -0.3, 0.0), 10));
    EXPECT_EQ(slot.object->id, organ);
    EXPECT_EQ(filledSlots(*flower), 1);
}

TEST_F(FlowerHeadEditingTest, TheCursorReshapesAndTurnsEveryPetalAndTheEraserTakesOneOut) {
    FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    const std::unique_ptr<FlowerObjectNode> copy = petal->clone(controller().ids());
    const auto* prototype = static_cast<const FlowerPetalNode*>(copy.get());
    FlowerTorusNode* flower = createFlower();
    ASSERT_NE(flower, nullptr);
    for (int i = 0; i < 6; ++i)
        floralDiagram().applyToOne(*prototype, kWhorlPetal, i, controller().ids());
    controller().commit(kChangeWorkObject);
    const int row = prototype->controlPoints().tipRow() / 2;

    // The petals the camera sees in the middle of their midrib, with that pixel.
    std::vector<std::pair<FlowerPart*, QPoint>> seen;
    for (const auto& slot : flower->whorl(kWhorlPetal).parts) {
        const auto& organ = static_cast<const FlowerPetalNode&>(*slot->object);
        const QPoint at =
            pixelOf(transformPoint(slot->organMatrix(), organ.controlPoints().midribPoint(row)));
        if (pickAt(at).value_or(PickRecord{}).id == organ.id)
            seen.emplace_back(slot.get(), at);
    }
    ASSERT_GE(seen.size(), 2u);
    auto [first, body] = seen[0];
    auto& picked = static_cast<FlowerPetalNode&>(*first->object);
    const PetalControlPointManager& net = picked.controlPoints();

    // A double click on the petal's body selects its slot: its control points show.
    click(body);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, body);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, body);
    EXPECT_TRUE(floralDiagram().selection().isSelected(flower->id, {kWhorlPetal, first->index}));

    // The Cursor drags one of its edge points...
    run(kCmdToolCursor);
    std::optional<QPoint> point;
    int column = 0;
    for (int candidate : {0, net.lastColumn()}) {
        const QPoint at =
            pixelOf(transformPoint(first->organMatrix(), net.pointAt(row, candidate)));
        const auto pick = pickAt(at);
        if (pick && pick->twoIndexPart && pick->id == picked.id && pick->a == row &&
            pick->b == candidate) {
            point = at;
            column = candidate;
            break;
        }
    }
    ASSERT_TRUE(point.has_value());
    const Vector3 before = net.pointAt(row, column);
    drag(Path{*point, *point + QPoint(-10, -10), *point + QPoint(-20, -30)});

    // ... and every petal of the flower has the same point in the same place.
    const Vector3 after = net.pointAt(row, column);
    EXPECT_GT(distance(after, before), 0.02);
    for (const auto& slot : flower->whorl(kWhorlPetal).parts) {
        auto* other = dynamic_cast<FlowerPetalNode*>(slot->object.get());
        ASSERT_NE(other, nullptr);
        expectNear(other->controlPoints().pointAt(row, column), after, 1e-9);
    }
    EXPECT_EQ(controller().lastStep(), "Move control point");

    // A Cursor drag on another petal's body turns every petal by the same turn in
    // its own slot.
    auto [turned, turnedAt] = seen[1];
    std::vector<Matrix4> rotations;
    for (const auto& slot : flower->whorl(kWhorlPetal).parts)
        rotations.push_back(slot->rotation);
    drag(Path{turnedAt, turnedAt + QPoint(15, 0), turnedAt + QPoint(30, 0)});
    const Matrix4 turn = inverted(rotations[0]) * flower->whorl(kWhorlPetal).parts[0]->rotation;
    EXPECT_FALSE(turn == Matrix4());
    for (size_t i = 0; i < rotations.size(); ++i) {
        const Matrix4 own = inverted(rotations[i]) * flower->whorl(kWhorlPetal).parts[i]->rotation;
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(own[k], turn[k], 1e-9);
    }
    EXPECT_EQ(controller().lastStep(), "Turn organ");

    // The Eraser takes nothing off the receptacle's body, then the petal it is on.
    run(kCmdToolEraser);
    const QPoint receptacle = pixelOf({0.0, 0.3, 0.0});
    ASSERT_EQ(pickAt(receptacle).value_or(PickRecord{}).id, flower->id);
    click(receptacle);
    EXPECT_EQ(filledSlots(*flower), 6);
    const int erasedId = turned->object->id;
    const Vector3 middle =
        static_cast<const FlowerPetalNode&>(*turned->object).controlPoints().midribPoint(row);
    const QPoint onPetal = pixelOf(transformPoint(turned->organMatrix(), middle));
    ASSERT_EQ(pickAt(onPetal).value_or(PickRecord{}).id, erasedId);
    click(onPetal);
    EXPECT_EQ(turned->object, nullptr);
    EXPECT_FALSE(turned->holdsOrgan());
    EXPECT_EQ(filledSlots(*flower), 5);
}

TEST_F(FlowerHeadEditingTest, AnOrganStrokeAttachesNothingOnceItsSlotOrReceptacleHasChanged) {
    FlowerTorusNode* flower = createFlower();
    ASSERT_NE(flower, nullptr);
    run(kCmdToolPen);
    const Vector3 start = flower->whorl(kWhorlPetal).parts[0]->basicTransAndRot.translationPart();
    const Path path = pixelsOf(straightLine(start, start + Vector3(-0.3, 0.3, 0.0), 10));
    const auto strokeWith = [&](const std::function<void()>& meanwhile) {
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, path.front());
        for (size_t i = 1; i < path.size(); ++i) {
            QTest::mouseMove(view, path[i]);
            if (i == path.size() / 2)
                meanwhile();
        }
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, path.back());
    };

    // Another flower becomes the work object meanwhile: neither flower gets the organ.
    FlowerTorusNode* next = nullptr;
    strokeWith([&] { next = createFlower(); });
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(filledSlots(*flower), 0);
    EXPECT_EQ(filledSlots(*next), 0);

    // The diagram fills the slot meanwhile: the slot keeps that organ.
    const FlowerPistilNode pistil(controller().nextId());
    strokeWith([&] { floralDiagram().applyToOne(pistil, kWhorlPetal, 0, controller().ids()); });
    EXPECT_NE(dynamic_cast<FlowerPistilNode*>(next->whorl(kWhorlPetal).parts[0]->object.get()),
              nullptr);
    EXPECT_EQ(filledSlots(*next), 1);
}
