// Organs drawn and edited where they stand in a scene, in the real main window:
// leaves drawn onto a plant's axis and petals into a flower's empty slot, bent in
// place; a flower head and its stamens edited in place; billboard sketches replaced
// by real organs; the scene stored, saved and reopened.
#include "OrganSketchingFixture.h"

#include "control/FloralDiagram.h"
#include "modes/scene/MouseListenerForSceneModify.h"
#include "modes/scene/MouseListenerForScenePetal.h"
#include "organs/FlowerSketchNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"
#include "support/SamplePlants.h"

#include <numbers>
#include <regex>
#include <set>

namespace {

std::vector<Vector3> straight(const Vector3& from, const Vector3& to, int points) {
    return samples::line(from, to, points - 1).points;
}

// A bowed stroke from `from` to `to`, bulging by `bulge` at its middle; `from` and
// `to` themselves are left out when `inner` (a drag that starts and stops short).
std::vector<Vector3> bowed(const Vector3& from, const Vector3& to, const Vector3& bulge,
                           bool inner = false) {
    std::vector<Vector3> points;
    const int n = 16;
    for (int i = inner ? 3 : 0; i <= (inner ? n - 3 : n); ++i) {
        const double t = static_cast<double>(i) / n;
        points.push_back(from + (to - from) * t + bulge * std::sin(std::numbers::pi * t));
    }
    return points;
}

} // namespace

class OrgansInPlaceTest : public OrganSketchingFixture {
protected:
    // A new scene with the object planted along a ground stroke; the plant's id.
    int plantInNewScene(std::unique_ptr<FlowerObjectNode> object, int category, double height) {
        addAndSelect(std::move(object), category);
        run(kCmdSceneCreation);
        run(kCmdToolPen);
        drag(straight({0, 0, 0}, {0, height, 0}, 12));
        EXPECT_EQ(controller().root()->plants.size(), 1u);
        return controller().root()->plants.front().composite->id;
    }
    // A new scene with a flower planted, its head in focus.
    FlowerTorusNode* focusedFlowerInNewScene() {
        const int plantId = plantInNewScene(samples::flower(records()), kCategoryFlower, 0.5);
        auto* head = dynamic_cast<FlowerTorusNode*>(
            controller().root()->findInScene(plantId).plant->segments.front().node.get());
        if (head)
            focusOn(head->id);
        return head;
    }
    void focusOn(int id) {
        controller().focusDown(id, false);
        controller().commit();
    }
    Matrix4 matrixOf(int id) { return controller().root()->findInScene(id).matrix; }
    void look(const Vector3& eye, const Vector3& center, const Vector3& up) {
        gl().setCamera(eye, center, up);
        controller().commit(kChangeMainView);
    }
    // The saved file with the object ids left out, and the colours' alpha, which
    // reading a material always sets to 0.4 while new organs start with their own.
    std::string withoutIds(const std::string& name) {
        std::ifstream in(dir.path(name));
        std::stringstream text;
        text << in.rdbuf();
        static const std::regex id(R"((\w+) \d+$)", std::regex::multiline);
        static const std::regex alpha(R"(((?:diffuse|specular|ambient)(?: [-\d.]+){3}) [-\d.]+$)",
                                      std::regex::multiline);
        return std::regex_replace(std::regex_replace(text.str(), alpha, "$1"), id, "$1");
    }
    MouseListenerForScenePetal& petalMode() { return singleton<MouseListenerForScenePetal>(); }

    // The blade's normal of a midrib drawn onto an axis or a slot: across the
    // direction it was drawn facing, which its bow shows.
    static Vector3 bladeOfDrawn(const Stroke& midrib, Vector3& facing) {
        const Vector3 F = midrib.front();
        const Vector3 L = midrib.back();
        facing = unit(cross(midrib.points[midrib.points.size() / 2] - F, L - F));
        return unit(cross(facing, unit(L - F)));
    }
    // The camera turns to face the plane the outlines go on, the blade with normal
    // `blade` through the midrib, and both outlines are drawn from short of the base
    // to short of the tip, the left one first or not. The direction across the blade
    // from its left to its right outline is returned.
    Vector3 drawOutlines(const Stroke& midrib, const Vector3& blade, const Vector3& up,
                         bool leftFirst) {
        const Vector3 F = midrib.front();
        const Vector3 L = midrib.back();
        look((F + L) * 0.5 + blade * 2.0, (F + L) * 0.5, up);
        const Vector3 across = unit(cross(unit(L - F), blade));
        const double width = 0.3 * distance(F, L);
        for (double side : leftFirst ? std::vector{-1.0, 1.0} : std::vector{1.0, -1.0}) {
            drag(bowed(F, L, across * (side * width), true));
            // However the drag began and ended, the outline runs from base to tip.
            if (const int stage = petalMode().stage(); stage == 2) {
                const Stroke& outline = petalMode().strokes()[1];
                EXPECT_LT(distance(outline.front(), F), 1e-9);
                EXPECT_LT(distance(outline.back(), L), 1e-9);
            }
        }
        return across;
    }
    Vector3 drawOutlines(const Stroke& midrib, bool leftFirst) {
        Vector3 facing;
        const Vector3 blade = bladeOfDrawn(midrib, facing);
        return drawOutlines(midrib, blade, facing, leftFirst);
    }
    // The petal stands where its strokes were drawn: the tip at the midrib's end, the
    // left edge on the left, the right edge on the right, all on the outlines' plane.
    void expectStandsAsDrawn(const FlowerPetalNode& petal, const Matrix4& matrix,
                             const Stroke& midrib, const Vector3& across) {
        const PetalControlPointManager& net = petal.controlPoints();
        const Vector3 F = midrib.front();
        const double length = distance(F, midrib.back());
        EXPECT_LT(distance(transformPoint(matrix, net.midribPoint(net.tipRow())), midrib.back()),
                  0.03 * length);
        const int row = net.tipRow() / 2;
        const Vector3 left = transformPoint(matrix, net.pointAt(row, 0));
        const Vector3 right = transformPoint(matrix, net.pointAt(row, net.lastColumn()));
        EXPECT_LT(dot(left - F, across), -0.1 * length);
        EXPECT_GT(dot(right - F, across), 0.1 * length);
        const Vector3 blade = unit(cross(across, midrib.back() - F));
        EXPECT_NEAR(dot(left - F, blade), 0.0, 0.03 * length);
        EXPECT_NEAR(dot(right - F, blade), 0.0, 0.03 * length);
    }
    // A pixel on the object with this id near where the world point is seen.
    std::optional<QPoint> pixelShowing(const Vector3& world, int id) {
        const QPoint seen = pixelOf(world);
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                if (const auto pick = pickAt(seen + QPoint(dx, dy)); pick && pick->id == id)
                    return seen + QPoint(dx, dy);
        return std::nullopt;
    }
};

TEST_F(OrgansInPlaceTest, LeavesDrawnOntoAPlantsAxisInEitherOrderStandAsDrawnAndBend) {
    AppController& c = controller();
    const int plantId = plantInNewScene(samples::plant(records(), 1), kCategoryComposite, 1.2);
    for (bool leftFirst : {true, false}) {
        c.focusToRoot(false);
        run(kCmdEyeInit);
        focusOn(plantId);
        ASSERT_EQ(c.mode(), kModeSceneModify);
        run(kCmdLeafOrPetalCreation);
        ASSERT_EQ(c.mode(), kModeScenePetal);
        auto* plant = asComposite(c.focus());
        ASSERT_NE(plant, nullptr);
        const size_t branches = plant->branches.size();

        // The midrib starts on the axis, at the point nearest the press.
        const Vector3 F = transformPoint(matrixOf(plantId), plant->mainAxis.pointAtLength(
                                                                 (leftFirst ? 0.3 : 0.6) *
                                                                 plant->mainAxis.length()).point);
        drag(bowed(F, F + Vector3(0.3, 0.25, 0), Vector3(0.04, -0.04, 0)));
        ASSERT_EQ(petalMode().stage(), 1);
        const Stroke midrib = petalMode().strokes()[0];
        EXPECT_LT(distance(midrib.front(), F), 0.01);

        const Vector3 across = drawOutlines(midrib, leftFirst);
        ASSERT_EQ(plant->branches.size(), branches + 1);
        EXPECT_EQ(petalMode().stage(), 0);
        auto* petal = dynamic_cast<FlowerPetalNode*>(c.focus());
        ASSERT_NE(petal, nullptr);
        EXPECT_EQ(c.mode(), kModeScenePetalModify);
        EXPECT_EQ(c.lastStep(), "Draw leaf");
        expectStandsAsDrawn(*petal, matrixOf(petal->id), midrib, across);
    }

    // In place, a stroke from the leaf's base to its tip bends it along its midrib,
    // seen from the side it was drawn from.
    auto* petal = static_cast<FlowerPetalNode*>(c.focus());
    const Matrix4 matrix = matrixOf(petal->id);
    const PetalControlPointManager& net = petal->controlPoints();
    const Vector3 base = transformPoint(matrix, net.midribPoint(0));
    const Vector3 tip = transformPoint(matrix, net.midribPoint(net.tipRow()));
    const Vector3 blade = transformPoint(matrix, {0, 0, 1}) - transformPoint(matrix, {});
    look((base + tip) * 0.5 + unit(cross(blade, tip - base)) * 2.0, (base + tip) * 0.5, blade);
    const double flat = largestLift(net);
    run(kCmdToolPen);
    drag(bowed(base, tip, blade * (0.3 * distance(base, tip))));
    EXPECT_GT(largestLift(net), flat + 0.01);
    EXPECT_EQ(c.lastStep(), "Bend petal");
    EXPECT_EQ(transformPoint(matrixOf(petal->id), net.midribPoint(0)), base);

    // With control points shown the Cursor drags one, through the leaf's placement:
    // the point follows the cursor.
    run(kCmdShowControlPoints);
    run(kCmdToolCursor);
    c.commit(kChangeMainView); // the switch shows with the next repaint
    const int row = net.tipRow() / 2;
    const QPoint seen = pixelOf(transformPoint(matrix, net.pointAt(row, 0)));
    std::optional<QPoint> edge;
    for (int dy = -4; dy <= 4 && !edge; ++dy)
        for (int dx = -4; dx <= 4 && !edge; ++dx)
            if (const auto pick = pickAt(seen + QPoint(dx, dy));
                pick && pick->twoIndexPart && pick->id == petal->id && pick->a == row &&
                pick->b == 0)
                edge = seen + QPoint(dx, dy);
    ASSERT_TRUE(edge);
    const QPoint to = *edge + QPoint(-12, 9);
    drag(Path{*edge, *edge + QPoint(-6, 4), to});
    EXPECT_EQ(c.lastStep(), "Move control point");
    const QPoint now = pixelOf(transformPoint(matrixOf(petal->id), net.pointAt(row, 0)));
    EXPECT_LE((now - to).manhattanLength(), 2);

    // A double click beside everything flies up off the leaf.
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_NE(c.focus(), petal);
    EXPECT_EQ(c.mode(), kModeSceneModify);
}

TEST_F(OrgansInPlaceTest, APetalGoesOnlyIntoTheEmptySlotAPressFindsOnAFocusedFlower) {
    AppController& c = controller();
    FlowerTorusNode* head = focusedFlowerInNewScene();
    ASSERT_NE(head, nullptr);
    ASSERT_EQ(c.mode(), kModeSceneTorus);
    const Matrix4 headMatrix = matrixOf(head->id);

    // The Eraser takes a petal it is seen on out of its slot.
    FlowerPart* seen = nullptr;
    std::optional<QPoint> onPetal;
    for (const auto& part : head->whorl(kWhorlPetal).parts) {
        const auto& organ = static_cast<const FlowerPetalNode&>(*part->object);
        const PetalControlPointManager& net = organ.controlPoints();
        onPetal = pixelShowing(transformPoint(headMatrix * part->organMatrix(),
                                              net.midribPoint(net.tipRow() * 2 / 3)),
                               organ.id);
        if (onPetal) {
            seen = part.get();
            break;
        }
    }
    ASSERT_TRUE(onPetal);
    FlowerPart& slot = *seen;
    run(kCmdToolEraser);
    click(*onPetal);
    ASSERT_EQ(slot.object, nullptr);

    run(kCmdLeafOrPetalCreation);
    ASSERT_EQ(c.mode(), kModeScenePetal);
    const Vector3 at = transformPoint(headMatrix, slot.basicTransAndRot.translationPart());
    const Vector3 outward = unit(Vector3(at.x, 0, at.z) - transformPoint(headMatrix, {}));
    const Vector3 up = transformPoint(headMatrix, {0, 1, 0}) - transformPoint(headMatrix, {});
    const double length = 0.6 * up.length();
    const auto midribFrom = [&](const Vector3& start) {
        return bowed(start, start + outward * length + up * (0.3 * length / up.length()),
                     up * (0.05 / up.length()));
    };

    // A press whose ray passes 0.01 or more from the empty slot starts no midrib.
    const Vector3 screenRight =
        unit(cross(gl().camera().center - gl().camera().eye, gl().camera().up));
    drag(midribFrom(at + screenRight * 0.03));
    EXPECT_EQ(petalMode().stage(), 0);
    EXPECT_TRUE(petalMode().strokes()[0].empty());

    drag(midribFrom(at));
    ASSERT_EQ(petalMode().stage(), 1);
    const Stroke midrib = petalMode().strokes()[0];
    const Vector3 across = drawOutlines(midrib, false);

    ASSERT_NE(slot.object, nullptr);
    auto* petal = dynamic_cast<FlowerPetalNode*>(slot.object.get());
    ASSERT_NE(petal, nullptr);
    EXPECT_EQ(c.focus(), petal);
    EXPECT_EQ(c.mode(), kModeScenePetalModify);
    EXPECT_EQ(c.lastStep(), "Draw petal");
    expectStandsAsDrawn(*petal, headMatrix * slot.organMatrix(), midrib, across);
}

TEST_F(OrgansInPlaceTest, AFocusedFlowerHeadTakesANewProfileAndMovesAWholeWhorlsPoint) {
    AppController& c = controller();
    FlowerTorusNode* head = focusedFlowerInNewScene();
    ASSERT_NE(head, nullptr);
    ASSERT_EQ(c.mode(), kModeSceneTorus);
    const Matrix4 headMatrix = matrixOf(head->id);

    // The profile, drawn on the receptacle's own plane, ends at its old base however
    // far the drag goes.
    const Vector3 base = head->m_basicCurve.back();
    const double h = head->mainAxis.back().y;
    run(kCmdShowWireFrame);
    run(kCmdToolPen);
    std::vector<Vector3> profile;
    for (const Vector3& p : straight({-0.3 * h, 0.8 * h, 0}, {-1.2 * h, -0.2 * h, 0}, 12))
        profile.push_back(transformPoint(headMatrix, p));
    drag(profile);
    EXPECT_EQ(c.lastStep(), "Redraw receptacle");
    EXPECT_LT(distance(head->m_basicCurve.back(), base), 1e-9);
    EXPECT_EQ(head->m_basicCurve.front().x, 0.0);
    EXPECT_NEAR(head->m_basicCurve.front().y, 0.8 * h, 0.05 * h);
    run(kCmdShowWireFrame);

    // A petal's slot selected shows its control points; the Cursor drags one, and the
    // same point of every petal of the flower follows.
    FlowerPart& slot = *head->whorl(kWhorlPetal).parts[0];
    floralDiagram().selection().toggleSelected(head->id, {kWhorlPetal, 0});
    c.commit(kChangeMainView);
    auto& petal = static_cast<FlowerPetalNode&>(*slot.object);
    const PetalControlPointManager& net = petal.controlPoints();
    const int row = net.tipRow() / 2;
    std::optional<QPoint> point;
    int column = 0;
    for (int candidate : {0, net.lastColumn()}) {
        const QPoint at =
            pixelOf(transformPoint(headMatrix * slot.organMatrix(), net.pointAt(row, candidate)));
        if (const auto pick = pickAt(at); pick && pick->twoIndexPart && pick->id == petal.id &&
                                          pick->a == row && pick->b == candidate) {
            point = at;
            column = candidate;
            break;
        }
    }
    ASSERT_TRUE(point.has_value());
    const Vector3 before = net.pointAt(row, column);
    run(kCmdToolCursor);
    drag(Path{*point, *point + QPoint(-10, -10), *point + QPoint(-20, -30)});
    const Vector3 after = net.pointAt(row, column);
    EXPECT_GT(distance(after, before), 1e-3);
    for (const auto& other : head->whorl(kWhorlPetal).parts)
        EXPECT_LT(distance(static_cast<FlowerPetalNode&>(*other->object)
                               .controlPoints()
                               .pointAt(row, column),
                           after),
                  1e-9);
    EXPECT_EQ(c.lastStep(), "Move control point");

    // The receptacle's own point, its top, dragged upwards makes the flower head
    // taller, and the plant's axis still ends at its top.
    run(kCmdShowControlPoints);
    c.commit(kChangeMainView); // the switch shows with the next repaint
    const QPoint topSeen = pixelOf(transformPoint(headMatrix, head->m_basicCurve.front()));
    std::optional<QPoint> onTop;
    for (int dy = -7; dy <= 7 && !onTop; ++dy)
        for (int dx = -7; dx <= 7 && !onTop; ++dx)
            if (const auto pick = pickAt(topSeen + QPoint(dx, dy));
                pick && pick->twoIndexPart && pick->id == head->id)
                onTop = topSeen + QPoint(dx, dy);
    ASSERT_TRUE(onTop);
    const QPoint top = *onTop;
    const double height = head->mainAxis.back().y;
    drag(Path{top, top + QPoint(0, -5), top + QPoint(0, -10)});
    EXPECT_GT(head->mainAxis.back().y, height * 1.05);
    const SceneLookup plantFound = c.root()->findInScene(c.root()->plants.front().composite->id);
    EXPECT_LT(distance(transformPoint(plantFound.matrix, plantFound.plant->mainAxis.back()),
                       transformPoint(matrixOf(head->id), head->mainAxis.back())),
              1e-6);

    // The billboard tools work here too: a stroke from the ground plants a billboard
    // beside the flower, and a click on empty space ends it and takes the Cursor.
    c.settings().drawingTool = kToolLeafBillboard;
    drag(straight({0.5, 0, 0}, {0.6, 0.3, 0}, 8));
    EXPECT_EQ(c.root()->plants.size(), 2u);
    EXPECT_EQ(c.lastStep(), "Draw billboard");
    click(QPoint(3, 3));
    EXPECT_EQ(c.settings().drawingTool, kToolCursor);
    EXPECT_EQ(c.focus(), head);
}

TEST_F(OrgansInPlaceTest, AStamenInAFlowerGetsANewFilamentAndAntherThenLosesItsAnther) {
    AppController& c = controller();
    FlowerTorusNode* head = focusedFlowerInNewScene();
    ASSERT_NE(head, nullptr);
    auto* stamen =
        dynamic_cast<FlowerStamenNode*>(head->whorl(kWhorlStamen).parts[0]->object.get());
    ASSERT_NE(stamen, nullptr);
    focusOn(stamen->id);
    ASSERT_EQ(c.focus(), stamen);
    ASSERT_EQ(c.mode(), kModeSceneStamen);
    Matrix4 matrix;
    c.sceneFocus().focusWithMatrix(matrix);

    // Seen from in front, close up.
    const Vector3 foot = transformPoint(matrix, {});
    const Vector3 up = transformPoint(matrix, stamen->mainAxis.back()) - foot;
    look(foot + up * 0.5 + Vector3(0, 0, 4.0 * up.length()), foot + up * 0.5, {0, 1, 0});

    // A stroke from the base redraws the filament along it.
    run(kCmdToolPen);
    const Vector3 end = foot + Vector3(0.4, 1.2, 0) * up.length();
    drag(bowed(foot, end, Vector3(-0.1 * up.length(), 0, 0)));
    EXPECT_EQ(c.lastStep(), "Redraw filament");
    c.sceneFocus().focusWithMatrix(matrix);
    EXPECT_LT(distance(transformPoint(matrix, stamen->mainAxis.back()), end),
              0.05 * up.length());

    // One from elsewhere is the anther; the Eraser takes it off again.
    const Vector3 tip = transformPoint(matrix, stamen->mainAxis.back());
    stamen->removeAnther();
    drag(straight(tip + Vector3(-0.15, 0.05, 0) * up.length(),
                  tip + Vector3(0.15, 0.05, 0) * up.length(), 8));
    EXPECT_EQ(c.lastStep(), "Draw anther");
    EXPECT_GT(stamen->antherRows, 0);
    run(kCmdToolEraser);
    click(pixelOf(tip));
    EXPECT_EQ(stamen->antherRows, 0);
    EXPECT_EQ(c.lastStep(), "Erase anther");

    // A double click beside everything goes back up to the flower head.
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(c.focus(), head);
    EXPECT_EQ(c.mode(), kModeSceneTorus);
}

TEST_F(OrgansInPlaceTest, BillboardSketchesGiveWayToOrgansInTheirPlaceAndTheSceneIsKept) {
    AppController& c = controller();
    const int plantId = plantInNewScene(samples::plant(records(), 1), kCategoryComposite, 1.2);
    focusOn(plantId);
    auto* plant = asComposite(c.focus());
    ASSERT_NE(plant, nullptr);

    // Four billboards from the axis, each ended by a click on empty space.
    std::vector<int> sketches;
    for (double at : {0.2, 0.4, 0.6, 0.8}) {
        c.settings().drawingTool = kToolBranchBillboard;
        const Vector3 from = transformPoint(
            matrixOf(plantId), plant->mainAxis.pointAtLength(at * plant->mainAxis.length()).point);
        drag(straight(from, from + Vector3(0.25, 0.15, 0), 8));
        sketches.push_back(singleton<MouseListenerForSceneModify>().billboard().billboardId());
        click(QPoint(3, 3));
    }

    struct Replacement {
        int command;
        int kind;
        int mode;
    };
    const Replacement replacements[] = {
        {kCmdReplaceWithStamen, kKindStamen, kModeSceneStamen},
        {kCmdReplaceWithFlower, kKindTorus, kModeSceneTorus},
        {kCmdReplaceWithStem, kKindStem, kModeSceneModify},
        {kCmdReplaceWithLeaf, kKindPetal, kModeScenePetalModify},
    };
    std::vector<int> organs;
    for (size_t i = 0; i < sketches.size(); ++i) {
        c.focusToRoot(false);
        focusOn(plantId);
        focusOn(sketches[i]);
        Matrix4 matrix;
        const FlowerObjectNode* sketch = c.sceneFocus().focusWithMatrix(matrix);
        ASSERT_TRUE(sketch && sketch->kind == kKindSketch);
        const Vector3 base = transformPoint(matrix, sketch->mainAxis.front());
        const Vector3 tip = transformPoint(matrix, sketch->mainAxis.back());
        const Vector3 sketchX = matrix.rotateVector({1, 0, 0});
        const Vector3 sketchZ = matrix.rotateVector({0, 0, 1});
        ASSERT_TRUE(frame->commands().action(replacements[i].command)->isEnabled());
        run(replacements[i].command);
        if (replacements[i].kind == kKindPetal) {
            // The sketch's stroke is the midrib; the outlines follow.
            ASSERT_EQ(c.mode(), kModeScenePetal);
            Stroke midrib = sketch->mainAxis;
            midrib.transform(matrix);
            drawOutlines(midrib, sketchX, sketchZ, true);
        }
        const FlowerObjectNode* organ = c.sceneFocus().focusWithMatrix(matrix);
        ASSERT_NE(organ, nullptr);
        EXPECT_EQ(organ->kind, replacements[i].kind);
        EXPECT_EQ(c.mode(), replacements[i].mode);
        EXPECT_FALSE(c.root()->findInScene(sketches[i]).found);
        // The organ stands where the sketch stood.
        EXPECT_LT(distance(transformPoint(matrix, organ->mainAxis.front()), base), 0.01);
        if (replacements[i].kind != kKindTorus) {
            EXPECT_LT(distance(transformPoint(matrix, organ->mainAxis.back()), tip), 0.02);
        }
        organs.push_back(organ->id);
        // With the organ in focus, no replacement is offered.
        EXPECT_FALSE(frame->commands().action(kCmdReplaceWithStamen)->isEnabled());
    }

    // Stored, saved and reopened, the scene is unchanged but for the ids loading
    // gives out afresh.
    c.focusToRoot(false);
    c.commit();
    std::multiset<int> kinds;
    for (const auto& branch : plant->branches)
        kinds.insert(branch.composite->segments.front().node->kind);
    run(kCmdStoreCurrent);
    ASSERT_TRUE(frame->document().saveDocument(pathOf("organs.pmr")));
    ASSERT_TRUE(frame->openDocumentPath(pathOf("organs.pmr")));
    ASSERT_TRUE(frame->document().saveDocument(pathOf("again.pmr")));
    EXPECT_EQ(withoutIds("organs.pmr"), withoutIds("again.pmr"));
    const std::vector<int> scenes = libraryBrowser().ids(kCategoryScene);
    ASSERT_EQ(scenes.size(), 1u);
    const SceneRoot* reopened = c.sceneFocus().findSceneObject(scenes.front());
    ASSERT_NE(reopened, nullptr);
    std::multiset<int> reopenedKinds;
    for (const auto& branch : reopened->plants.front().composite->branches)
        reopenedKinds.insert(branch.composite->segments.front().node->kind);
    EXPECT_EQ(reopenedKinds, kinds);
    for (const Replacement& replacement : replacements)
        EXPECT_EQ(kinds.count(replacement.kind), replacement.kind == kKindStem ? 2u : 1u);
}
