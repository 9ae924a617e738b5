// A person's road through the plant modes in the real main window: the start-up
// mode draws the axis, the modify mode grows, turns and erases branches, and the
// plant is stored, saved, reopened and exported.
#include "OrganSketchingFixture.h"

#include "modes/composite/MouseListenerForComposite.h"
#include "ui/ModeGuidance.h"

#include <QLabel>
#include <QSet>
#include <QToolBar>

#include <functional>
#include <set>

namespace {

// Every object of the plant that is no composite, through segments and branches.
void forEachPart(const FlowerObjectComposite& plant,
                 const std::function<void(const FlowerObjectNode&)>& visit) {
    for (const auto& segment : plant.segments) {
        if (const FlowerObjectComposite* inner = asComposite(segment.node.get()))
            forEachPart(*inner, visit);
        else
            visit(*segment.node);
    }
    for (const auto& branch : plant.branches)
        forEachPart(*branch.composite, visit);
}

std::multiset<int> partKinds(const FlowerObjectComposite& plant) {
    std::multiset<int> kinds;
    forEachPart(plant, [&](const FlowerObjectNode& part) { kinds.insert(part.kind); });
    return kinds;
}

// How many pixels of the picture are clearly coloured (not grey).
int colouredPixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y).hsvSaturation() > 60 && picture.pixelColor(x, y).alpha())
                ++count;
    return count;
}

} // namespace

class PlantDrawingTest : public OrganSketchingFixture {
protected:
    FlowerObjectComposite* plant() { return work<FlowerObjectComposite>(); }

    // A petal drawn and stored, then selected in the library as the object plants
    // carry.
    void selectFreshPetal() {
        ASSERT_NE(drawPetal(), nullptr);
        run(kCmdStoreCurrent);
        selectLibraryEntry(kCategoryLeaf, libraryBrowser().entryCount(kCategoryLeaf) - 1);
    }
    void selectLibraryEntry(int category, int position) {
        libraryBrowser().setCategory(category);
        libraryBrowser().select(position, category);
    }

    // A stroke drawn on the plant's drawing plane (z = 0 from the home camera).
    void stroke(const Vector3& from, const Vector3& to, int points = 20) {
        drag(straightLine(from, to, points));
    }

    // A pixel near where the world point is seen at which the pick snapshot shows
    // the part.
    QPoint pixelShowing(int partId, const Vector3& near) {
        const QPoint centre = pixelOf(near);
        for (int r = 0; r <= 8; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const QPoint at = centre + QPoint(dx, dy);
                    if (const auto picked = pickAt(at); picked && picked->id == partId)
                        return at;
                }
        ADD_FAILURE() << "part " << partId << " shows nowhere near the point";
        return centre;
    }
    // A point half way along branch i, in the plant's frame.
    Vector3 branchMiddle(const FlowerObjectComposite& p, size_t i) {
        const Stroke& axis = p.branches[i].composite->mainAxis;
        return transformPoint(p.branches[i].placement(), axis.points[axis.points.size() / 2]);
    }
    int firstPartOfBranch(const FlowerObjectComposite& p, size_t i) {
        return p.branches[i].composite->segments.front().node->id;
    }

    // A plant of the selected fresh petal: an axis one unit tall, a branch to each
    // side facing the viewer and the axis extended at its tip.
    FlowerObjectComposite* drawBranchedPlant() {
        selectFreshPetal();
        run(kCmdCompositeCreation);
        stroke({0, 0, 0}, {0, 1, 0});
        run(kCmdZDirectionHere);
        stroke({0, 0.4, 0}, {0.4, 0.7, 0});
        stroke({0, 0.7, 0}, {-0.4, 0.9, 0});
        if (!plant())
            return nullptr;
        stroke(plant()->mainAxis.back(), plant()->mainAxis.back() + Vector3(0, 0.4, 0));
        FlowerObjectComposite* p = plant();
        return p->branches.size() == 2 && p->segments.size() == 2 ? p : nullptr;
    }

    QWidget* toolButton(int commandId) {
        return frame->toolsBar()->widgetForAction(frame->commands().action(commandId));
    }
};

TEST_F(PlantDrawingTest, AStrokeUpFromTheGroundStartsAPlantThatGrowsBranchesAndExtends) {
    // The program starts ready for a plant and says so.
    EXPECT_EQ(controller().mode(), kModeComposite);
    const QString startGuidance = frame->guidance()->text();
    EXPECT_FALSE(startGuidance.isEmpty());
    EXPECT_FALSE(toolButton(kCmdToolEraser)->isEnabled());

    selectFreshPetal();
    const int petalId =
        libraryBrowser().idAt(libraryBrowser().selection(kCategoryLeaf), kCategoryLeaf);
    ASSERT_GT(petalId, 0);
    run(kCmdCompositeCreation);
    EXPECT_EQ(frame->guidance()->text(), startGuidance);

    // Too short a stroke draws nothing.
    testing::internal::CaptureStderr();
    stroke({0, 0, 0}, {0, 0.1, 0}, 2);
    EXPECT_EQ(controller().workObject(), nullptr);
    EXPECT_EQ(controller().mode(), kModeComposite);

    stroke({0, 0, 0}, {0, 1, 0});
    FlowerObjectComposite* p = plant();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(controller().mode(), kModeCompositeModify);
    EXPECT_NE(frame->guidance()->text(), startGuidance);
    // The tools of the plant mode are available at once, not at the next idle turn.
    EXPECT_TRUE(toolButton(kCmdToolEraser)->isEnabled());
    ASSERT_EQ(p->segments.size(), 1u);
    const FlowerObjectNode& carried = *p->segments[0].node;
    EXPECT_EQ(carried.kind, kKindPetal);
    EXPECT_NE(carried.id, petalId);
    EXPECT_NE(controller().findObject(petalId), nullptr);
    EXPECT_LT(distance(p->mainAxis.front(), {0, 0, 0}), 1e-9);
    EXPECT_NEAR(p->mainAxis.back().y, 1.0, 0.05);
    const double height = p->mainAxis.length();

    // Strokes of two points on the plant grow nothing and say nothing.
    stroke({0, 0.5, 0}, {0.3, 0.7, 0}, 2);
    EXPECT_TRUE(p->branches.empty());

    // From the middle of the axis: a branch at the middle carrying a petal.
    run(kCmdZDirectionHere);
    stroke({0, 0.5, 0}, {0.4, 0.8, 0});
    ASSERT_EQ(p->branches.size(), 1u);
    EXPECT_NEAR(p->branches[0].position, 0.5, 0.08);
    EXPECT_EQ(partKinds(*p->branches[0].composite), std::multiset<int>{kKindPetal});
    EXPECT_EQ(controller().lastStep(), "Grow branch");

    // "z direction Up": a branch drawn downwards still turns its face upwards, across
    // the stroke.
    run(kCmdZDirectionUp);
    stroke({0, 0.3, 0}, {0.4, 0.0, 0});
    ASSERT_EQ(p->branches.size(), 2u);
    const Vector3 face = p->branches[1].placement().rotateVector({0, 0, 1});
    EXPECT_GT(face.y, 0.5);
    EXPECT_NEAR(dot(face, {0.8, -0.6, 0}), 0.0, 0.1);
    EXPECT_NEAR(p->branches[1].position, 0.3, 0.08);

    // From the tip: the axis grows on, the branches keep their places.
    stroke(p->mainAxis.back(), p->mainAxis.back() + Vector3(0.05, 0.5, 0));
    EXPECT_EQ(p->segments.size(), 2u);
    EXPECT_EQ(p->branches.size(), 2u);
    EXPECT_NEAR(p->mainAxis.length(), height + 0.5, 0.08);
    EXPECT_NEAR(p->branches[0].position * p->mainAxis.length(), 0.5, 0.08);
    EXPECT_EQ(controller().lastStep(), "Extend plant");

    // Drawing a plant says nothing on the terminal.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(PlantDrawingTest, TheCursorTurnsABranchAndTheEraserRemovesPartsButNotThePlant) {
    FlowerObjectComposite* p = drawBranchedPlant();
    ASSERT_NE(p, nullptr);
    const int plantId = p->id;

    // The tool buttons and the status line show the tool chosen; only the Pen
    // carries anything from the library.
    const QString penLine = frame->guidance()->text();
    EXPECT_TRUE(frame->penLoadCaption()->isVisible());
    run(kCmdToolCursor);
    EXPECT_TRUE(toolButton(kCmdToolCursor)->property("checked").toBool());
    EXPECT_FALSE(toolButton(kCmdToolPen)->property("checked").toBool());
    EXPECT_NE(frame->guidance()->text(), penLine);
    EXPECT_FALSE(frame->penLoadCaption()->isVisible());

    const QPoint onBranch = pixelShowing(firstPartOfBranch(*p, 0), branchMiddle(*p, 0));
    const Matrix4 upright = p->branches[0].turn;
    // A press and release on the spot, and one long jump of the mouse, turn nothing.
    drag(Path{onBranch, onBranch, onBranch});
    EXPECT_EQ(p->branches[0].turn, upright);
    drag(Path{onBranch, onBranch + QPoint(150, 0), onBranch + QPoint(150, 0)});
    EXPECT_EQ(p->branches[0].turn, upright);
    // A drag in small steps turns the branch away from the viewer's right.
    Path turn{onBranch};
    for (int k = 1; k <= 20; ++k)
        turn.push_back(onBranch + QPoint(3 * k, 0));
    drag(turn);
    EXPECT_NE(p->branches[0].turn, upright);
    EXPECT_EQ(p->branches[1].turn, Matrix4());
    EXPECT_EQ(controller().lastStep(), "Turn branch");

    run(kCmdToolEraser);
    // The plant's first part is the plant itself: erasing it does nothing.
    const QPoint onBase = pixelShowing(p->segments[0].node->id, {0, 0.2, 0});
    click(onBase);
    EXPECT_EQ(p->segments.size(), 2u);
    // The second branch goes, the first stays.
    const int keptBranch = p->branches[0].composite->id;
    const int erasedPart = firstPartOfBranch(*p, 1);
    const QPoint onErased = pixelShowing(erasedPart, branchMiddle(*p, 1));
    click(onErased);
    ASSERT_EQ(p->branches.size(), 1u);
    EXPECT_EQ(p->branches[0].composite->id, keptBranch);
    EXPECT_EQ(controller().lastStep(), "Erase part");
    // The axis's extension goes back to where it started.
    const Vector3 extension = transformPoint(p->segments[1].placement, {0, 0.2, 0});
    click(pixelShowing(p->segments[1].node->id, extension));
    EXPECT_EQ(p->segments.size(), 1u);
    EXPECT_NEAR(p->mainAxis.back().y, 1.0, 0.05);
    EXPECT_EQ(controller().workObject()->id, plantId);
    // The picks follow: the erased branch's pixel shows nothing of it any more.
    EXPECT_NE(pickAt(onErased).value_or(PickRecord{}).id, erasedPart);
}

TEST_F(PlantDrawingTest, APlantIsStoredReusedSavedReopenedAndExportedWithEveryPart) {
    selectFreshPetal();
    run(kCmdCompositeCreation);
    stroke({0, 0, 0}, {0, 1, 0});
    stroke({0, 0.5, 0}, {0.4, 0.8, 0});
    stroke({0, 0.3, 0}, {-0.4, 0.5, 0});
    FlowerObjectComposite* p = plant();
    ASSERT_NE(p, nullptr);
    const std::multiset<int> kinds = partKinds(*p);
    ASSERT_EQ(kinds.size(), 3u);
    const double height = p->mainAxis.length();

    run(kCmdStoreCurrent);
    const std::vector<int> stored = libraryBrowser().ids(kCategoryComposite);
    ASSERT_EQ(stored, std::vector<int>{p->id});

    // With the stored plant selected, a new stroke gives its copy a new axis.
    selectLibraryEntry(kCategoryComposite, 1);
    run(kCmdCompositeCreation);
    EXPECT_EQ(controller().workObject(), nullptr);
    stroke({0.3, 0, 0}, {0.3, 1.6, 0}, 25);
    FlowerObjectComposite* copy = plant();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->id, stored[0]);
    EXPECT_EQ(partKinds(*copy), kinds);
    EXPECT_LT(distance(copy->mainAxis.front(), {0, 0, 0}), 1e-9);
    EXPECT_NEAR(copy->mainAxis.length(), 1.6, 0.05);
    EXPECT_EQ(partKinds(*asComposite(controller().findObject(stored[0]))), kinds);

    // The export writes every petal of the copy, front and back.
    exportObjTo(pathOf("plant.obj"));
    run(kCmdSaveObj);
    std::stringstream obj;
    obj << std::ifstream(dir.path("plant.obj")).rdbuf();
    forEachPart(*copy, [&](const FlowerObjectNode& part) {
        EXPECT_NE(obj.str().find("usemtl petalFront" + std::to_string(part.id) + "\n"),
                  std::string::npos);
        EXPECT_NE(obj.str().find("usemtl petalBack" + std::to_string(part.id) + "\n"),
                  std::string::npos);
    });

    saveLibraryAs(pathOf("plants.pmr"));
    run(kCmdFileSave);
    ASSERT_TRUE(frame->openDocumentPath(pathOf("plants.pmr")));
    EXPECT_TRUE(failures.isEmpty());
    const std::vector<int> reopened = libraryBrowser().ids(kCategoryComposite);
    ASSERT_EQ(reopened.size(), 1u);
    const auto* back = asComposite(controller().findObject(reopened[0]));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(partKinds(*back), kinds);
    EXPECT_NEAR(back->mainAxis.length(), height, 1e-4);
}

TEST_F(PlantDrawingTest, EveryModeSaysWhatItExpectsAndDisabledToolsLookDisabled) {
    QSet<QString> said{frame->guidance()->text()};
    for (int command : {kCmdSceneCreation, kCmdFlowerCreation, kCmdPetalCreation,
                        kCmdPistilCreation, kCmdStamenCreation}) {
        run(command);
        EXPECT_FALSE(frame->guidance()->text().isEmpty()) << "mode " << controller().mode();
        said.insert(frame->guidance()->text());
    }
    EXPECT_EQ(said.size(), 6);
    // Whatever the mode and the tool, its line is shown whole beside what the Pen
    // carries.
    for (int tool : {kToolPen, kToolCursor, kToolEraser, kToolBrowsing})
        for (int mode = 0; mode < kModeCount; ++mode) {
            controller().settings().drawingTool = tool;
            controller().switchToMode(mode);
            controller().commit();
            QApplication::processEvents();
            QLabel* line = frame->guidance();
            SCOPED_TRACE(testing::Message() << "mode " << mode << " tool " << tool);
            EXPECT_EQ(line->text(), modeGuidance(mode, tool));
            EXPECT_FALSE(line->text().isEmpty());
            EXPECT_LE(line->sizeHint().width(), line->width());
        }

    // The eraser is pink while it can be chosen and grey while it cannot.
    run(kCmdCompositeCreation);
    const int greyed = colouredPixels(toolButton(kCmdToolEraser)->grab().toImage());
    stroke({0, 0, 0}, {0, 1, 0});
    const int shown = colouredPixels(toolButton(kCmdToolEraser)->grab().toImage());
    EXPECT_EQ(greyed, 0);
    EXPECT_GT(shown, 50);
}

// The README's plant road on the starter library, in its own steps: the stalk drawn
// with nothing selected, a flower head clicked in the library and drawn on from the
// stalk's top and out of its side, a leaf clicked and drawn out low on the stalk. Its
// picture is the README's (written to PELMORA_SCREENSHOT when that is set).
class PlantRoadTest : public PlantDrawingTest {
protected:
    void SetUp() override {
        useStarterLibrary();
        PlantDrawingTest::SetUp();
    }
    QString penLoad() { return frame->penLoadCaption()->text(); }
    // The world point of a point of the plant's axis segment j, given in the
    // segment's own frame.
    static Vector3 onSegment(const FlowerObjectComposite& p, size_t j, const Vector3& local) {
        return transformPoint(p.segments[j].placement, local);
    }
};

TEST_F(PlantRoadTest, TheReadmePlantRoadGivesAStalkWithAFlowerAtItsTop) {
    // 1. The stalk, up from the ground: nothing is selected yet.
    ASSERT_EQ(controller().mode(), kModeComposite);
    const QString plainStem = penLoad();
    stroke({0, 0, 0}, {0, 1, 0});
    FlowerObjectComposite* p = plant();
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->segments.size(), 1u);
    EXPECT_EQ(p->segments[0].node->kind, kKindStem);
    const Vector3 stalkTop = p->mainAxis.back();

    // 2. A flower head clicked, and a short stroke on up from the stalk's top.
    run(kCmdFlowerLibrary);
    clickTile(1);
    const int head = libraryBrowser().selectedId();
    ASSERT_NE(controller().findObject(head), nullptr);
    ASSERT_EQ(controller().findObject(head)->kind, kKindTorus);
    EXPECT_NE(penLoad(), plainStem);
    EXPECT_TRUE(penLoad().contains(QString::number(head)));
    stroke(stalkTop, stalkTop + Vector3(0, 0.3, 0));

    // 3. Flowers out of the stalk's side.
    stroke({0, 0.6, 0}, {0.3, 0.85, 0});
    stroke({0, 0.45, 0}, {-0.3, 0.7, 0});

    // 4. A leaf clicked, facing the viewer, and short strokes out of the lower stalk.
    run(kCmdLeafLibrary);
    int leafTile = -1;
    for (int position = 1; position < libraryBrowser().entryCount(kCategoryLeaf); ++position)
        if (controller().findObject(libraryBrowser().idAt(position, kCategoryLeaf))->hasTexture)
            leafTile = position;
    ASSERT_NE(leafTile, -1);
    clickTile(leafTile);
    run(kCmdZDirectionHere);
    stroke({0, 0.25, 0}, {0.2, 0.35, 0});
    stroke({0, 0.2, 0}, {-0.2, 0.3, 0});

    // The stalk carries the flower at its top, a unit above the ground, facing up;
    // the branches carry two flowers and two leaves.
    ASSERT_EQ(p->segments.size(), 2u);
    const FlowerObjectNode& top = *p->segments[1].node;
    ASSERT_EQ(top.kind, kKindTorus);
    const Vector3 base = onSegment(*p, 1, top.mainAxis.front());
    const Vector3 crown = onSegment(*p, 1, top.mainAxis.back());
    EXPECT_LT(distance(base, stalkTop), 0.05);
    EXPECT_GT(crown.y, base.y + 0.05);
    std::multiset<int> branchKinds;
    for (const auto& branch : p->branches) {
        const std::multiset<int> kinds = partKinds(*branch.composite);
        branchKinds.insert(kinds.begin(), kinds.end());
    }
    EXPECT_EQ(branchKinds, (std::multiset<int>{kKindPetal, kKindPetal, kKindTorus, kKindTorus}));

    // The window shows the flower there.
    const QPoint flower =
        view->mapToGlobal(pixelOf((base + crown) * 0.5)) - frame->mapToGlobal(QPoint());
    const QImage window = grabShowing(*view, *frame, flower);
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(showsBackgroundAt(*view, *frame, flower, window.pixelColor(flower)));
    saveScreenshotIfAsked(window);
}
