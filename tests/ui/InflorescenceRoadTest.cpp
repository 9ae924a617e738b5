// A person's road to an inflorescence in the real main window: an axis drawn up
// from the ground, "Make inflorescence...", a raceme of twelve of the starter
// library's flower heads, kept editing by hand, stored, saved and reopened.
#include "OrganSketchingFixture.h"

#include "model/FlowerObjectComposite.h"
#include "ui/InflorescenceDlg.h"
#include "ui/LeafArrangementDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

class InflorescenceRoadTest : public OrganSketchingFixture {
protected:
    void SetUp() override {
        useStarterLibrary();
        OrganSketchingFixture::SetUp();
    }

    FlowerObjectComposite* plant() { return work<FlowerObjectComposite>(); }
    static InflorescenceDlg& dialog() { return viewManager().inflorescenceDialog(); }
    template <typename Widget> static Widget* control(QDialog& d, const char* name) {
        auto* widget = d.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void clickApply(QDialog& d) {
        QTest::mouseClick(control<QPushButton>(d, "Apply"), Qt::LeftButton);
    }
    // The plant's axis: a stroke up from the ground, one unit tall.
    void drawAxis() { drag(straightLine({0, 0, 0}, {0, 1, 0}, 20)); }
    // A pixel near the world point where the pick snapshot shows a part of the
    // composite (a flower head's organs count as parts of it).
    QPoint pixelShowing(const FlowerObjectComposite& composite, const Vector3& near) {
        const QPoint centre = pixelOf(near);
        for (int r = 0; r <= 12; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (const auto picked = pickAt(centre + QPoint(dx, dy));
                        picked && composite.findChild(picked->id).found)
                        return centre + QPoint(dx, dy);
        ADD_FAILURE() << "the composite shows nowhere near the point";
        return centre;
    }
};

// Where a flower head of the plant stands, through its branch.
Vector3 flowerBase(const FlowerObjectComposite& plant, size_t branch) {
    const FlowerObjectComposite& pedicel = *plant.branches[branch].composite;
    return transformPoint(plant.branches[branch].placement() * pedicel.segments.back().placement,
                          Vector3(0, 0.02, 0));
}

} // namespace

TEST_F(InflorescenceRoadTest, ARacemeOfTwelveIsOneStepKeptEditingSavedAndReopened) {
    // The command waits for a plant being edited, and says so by looking disabled.
    QAction* make = frame->commands().action(kCmdMakeInflorescence);
    ASSERT_NE(make, nullptr);
    EXPECT_FALSE(make->isEnabled());
    drawAxis();
    ASSERT_NE(plant(), nullptr);
    EXPECT_TRUE(make->isEnabled());
    const int plantId = plant()->id;

    // The starter library's flower head selected, then the dialog.
    run(kCmdFlowerLibrary);
    clickTile(1);
    ASSERT_EQ(controller().findObject(libraryBrowser().selectedId())->kind, kKindTorus);
    run(kCmdMakeInflorescence);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_TRUE(control<QLabel>(dialog(), "Source")->text().contains("selected"));
    control<QComboBox>(dialog(), "Type")->setCurrentIndex(0);
    control<QSpinBox>(dialog(), "FlowerCount")->setValue(12);
    const std::size_t steps = controller().history().steps();
    clickApply(dialog());
    ASSERT_EQ(plant()->id, plantId);
    EXPECT_EQ(flowerHeads(*plant()).size(), 12u);
    EXPECT_EQ(controller().history().steps(), steps + 1);
    EXPECT_EQ(controller().lastStep(), "Make inflorescence");

    // A changed value re-applies to the same inflorescence, in the same step.
    control<QSpinBox>(dialog(), "FlowerCount")->setValue(20);
    EXPECT_EQ(flowerHeads(*plant()).size(), 20u);
    control<QSpinBox>(dialog(), "FlowerCount")->setValue(12);
    EXPECT_EQ(flowerHeads(*plant()).size(), 12u);
    EXPECT_EQ(controller().history().steps(), steps + 1);
    EXPECT_EQ(plant()->branches.size(), 12u);

    // One undo takes the whole inflorescence away, redo brings it back.
    ASSERT_TRUE(controller().undo());
    EXPECT_TRUE(flowerHeads(*plant()).empty());
    ASSERT_TRUE(controller().redo());
    ASSERT_EQ(flowerHeads(*plant()).size(), 12u);

    // It is an ordinary plant: the eraser takes one flower's pedicel away, and a
    // value changed after that hand edit starts a new step instead of undoing it.
    run(kCmdToolEraser);
    click(pixelShowing(*plant()->branches[3].composite, flowerBase(*plant(), 3)));
    EXPECT_EQ(flowerHeads(*plant()).size(), 11u);
    const std::size_t afterErase = controller().history().steps();
    control<QSpinBox>(dialog(), "FlowerCount")->setValue(13);
    EXPECT_EQ(flowerHeads(*plant()).size(), 11u);
    clickApply(dialog());
    EXPECT_EQ(flowerHeads(*plant()).size(), 11u + 13u);
    EXPECT_EQ(controller().history().steps(), afterErase + 1);
    ASSERT_TRUE(controller().undo());
    ASSERT_TRUE(controller().undo());
    ASSERT_EQ(flowerHeads(*plant()).size(), 12u);

    // Leaves by phyllotaxis on the same stalk: the selected leaf, four decussate
    // pairs, one more step.
    run(kCmdLeafLibrary);
    clickTile(1);
    run(kCmdArrangeLeaves);
    LeafArrangementDlg& leaves = viewManager().leafArrangementDialog();
    ASSERT_TRUE(leaves.isVisible());
    control<QComboBox>(leaves, "Phyllotaxis")->setCurrentIndex(3);
    control<QSpinBox>(leaves, "LeafCount")->setValue(8);
    clickApply(leaves);
    EXPECT_EQ(plant()->branches.size(), 12u + 8u);
    EXPECT_EQ(flowerHeads(*plant()).size(), 12u);
    EXPECT_EQ(controller().lastStep(), "Arrange leaves");
    ASSERT_TRUE(controller().undo());
    EXPECT_EQ(plant()->branches.size(), 12u);
    ASSERT_TRUE(controller().redo());
    ASSERT_EQ(plant()->branches.size(), 12u + 8u);

    // Stored, saved, reopened: the twelve flowers and the order they open in come
    // back.
    run(kCmdStoreCurrent);
    const std::vector<int> openingOrder = plant()->openingOrder;
    EXPECT_EQ(openingOrder.size(), 12u);
    saveLibraryAs(pathOf("raceme.pmr"));
    run(kCmdFileSave);
    ASSERT_TRUE(frame->openDocumentPath(pathOf("raceme.pmr")));
    EXPECT_TRUE(failures.isEmpty());
    const FlowerObjectComposite* back = nullptr;
    for (int id : libraryBrowser().ids(kCategoryComposite))
        if (const auto* composite = asComposite(controller().findObject(id));
            composite && !composite->openingOrder.empty())
            back = composite;
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(flowerHeads(*back).size(), 12u);
    EXPECT_EQ(back->openingOrder, openingOrder);
}

// The user guide's picture of every type, as the main view shows it: with
// PELMORA_PICTURES set to a folder, each is written there as inflorescence-TYPE.png.
// Every type shows flowers where its flowers are.
TEST_F(InflorescenceRoadTest, EveryTypeShowsItsFlowersInTheMainView) {
    struct Picture {
        const char* name;
        int flowers;
    };
    const Picture pictures[kInflorescenceTypes] = {{"raceme", 12}, {"spike", 16}, {"umbel", 10},
                                                   {"corymb", 10}, {"panicle", 16}, {"cyme", 7},
                                                   {"head", 40}};
    const QString folder = QString::fromLocal8Bit(qgetenv("PELMORA_PICTURES"));
    run(kCmdFlowerLibrary);
    clickTile(1);
    for (int type = 0; type < kInflorescenceTypes; ++type) {
        SCOPED_TRACE(pictures[type].name);
        // The axis carries a plain stem: nothing is selected among the plants.
        run(kCmdCompositeLibrary);
        run(kCmdCompositeCreation);
        drawAxis();
        run(kCmdFlowerLibrary);
        run(kCmdMakeInflorescence);
        control<QComboBox>(dialog(), "Type")->setCurrentIndex(type);
        control<QSpinBox>(dialog(), "FlowerCount")->setValue(pictures[type].flowers);
        clickApply(dialog());
        ASSERT_NE(plant(), nullptr);
        const std::vector<const FlowerObjectNode*> heads = flowerHeads(*plant());
        ASSERT_EQ(heads.size(), static_cast<size_t>(pictures[type].flowers));
        const CompositeLookup first = plant()->findChild(heads.front()->id);
        const QPoint origin = view->mapToGlobal(QPoint()) - frame->mapToGlobal(QPoint());
        const QPoint flower = origin + pixelOf(transformPoint(first.matrix, Vector3(0, 0.01, 0)));
        const auto shows = [&](const QImage& shown) {
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const QPoint at = flower + QPoint(dx, dy);
                    if (!showsBackgroundAt(*view, *frame, at, shown.pixelColor(at)))
                        return true;
                }
            return false;
        };
        const QImage window = grabShowing(*view, *frame, flower);
        ASSERT_FALSE(window.isNull());
        EXPECT_TRUE(shows(window));
        if (!folder.isEmpty()) {
            // The middle of the view, where the plant stands.
            const int width = view->height() * 7 / 10;
            const QImage shown = window.copy(
                QRect(origin + QPoint((view->width() - width) / 2, 0), QSize(width, view->height())));
            EXPECT_TRUE(shown.scaledToWidth(240, Qt::SmoothTransformation)
                            .save(folder + "/inflorescence-" + pictures[type].name + ".png"));
        }
    }
}
