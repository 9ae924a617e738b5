// What the next stroke carries, in the real main window on the starter library: the
// status bar names the entry a click on a tile selects; each category keeps its own
// selection while another is shown (Flower Creation and Store show another); undo
// and redo leave the selections alone, and only a selected entry that an undo takes
// away leaves the Pen with a plain stem.
#include "OrganSketchingFixture.h"

#include "model/FlowerObjectComposite.h"

#include <QLabel>

class LibrarySelectionTest : public OrganSketchingFixture {
protected:
    void SetUp() override {
        useStarterLibrary();
        OrganSketchingFixture::SetUp();
    }

    // Whether the status bar names this entry as what the Pen carries.
    bool penCarries(int id) {
        return frame->penLoadCaption()->text().endsWith(QLatin1Char(' ') + QString::number(id));
    }
    // Whether the library view, as painted, frames the tile at this position.
    bool framed(int position) {
        frame->libraryView()->repaint();
        const QImage shown = frame->libraryView()->grab().toImage();
        return shown.pixelColor(tileCentre(position) - QPoint(38, 0)) == QColor(180, 250, 10);
    }
    FlowerObjectComposite* drawStalk() {
        drag(straightLine({0, 0, 0}, {0, 1, 0}, 20));
        return asComposite(controller().workObject());
    }
};

TEST_F(LibrarySelectionTest, TheSelectionIsShownAndKeptThroughCategorySwitchesAndUndo) {
    run(kCmdLeafLibrary);
    clickTile(1);
    const int leaf = libraryBrowser().idAt(1, kCategoryLeaf);
    EXPECT_TRUE(framed(1));
    EXPECT_TRUE(penCarries(leaf));

    // Flower Creation shows the flower heads, where the Pen carries the one clicked
    // there; undo and redo of the creation change neither selection.
    run(kCmdFlowerCreation);
    EXPECT_FALSE(penCarries(leaf));
    clickTile(1);
    const int head = libraryBrowser().idAt(1, kCategoryFlower);
    EXPECT_TRUE(penCarries(head));
    run(kCmdEditUndo);
    EXPECT_TRUE(penCarries(head));
    run(kCmdEditRedo);
    EXPECT_TRUE(penCarries(head));
    EXPECT_TRUE(framed(1));
    run(kCmdLeafLibrary);
    EXPECT_TRUE(framed(1));

    // A stalk drawn and undone: the next one carries the leaf again.
    run(kCmdCompositeCreation);
    EXPECT_TRUE(penCarries(leaf));
    ASSERT_NE(drawStalk(), nullptr);
    run(kCmdEditUndo);
    EXPECT_EQ(controller().workObject(), nullptr);
    EXPECT_TRUE(penCarries(leaf));
    FlowerObjectComposite* plant = drawStalk();
    ASSERT_NE(plant, nullptr);
    EXPECT_EQ(plant->segments.front().node->kind, kKindPetal);

    // Stored, the plant is shown among the plants and selected there; the undone
    // store takes the entry away, and with it the selection: a branch carries a
    // plain stem.
    run(kCmdStoreCurrent);
    const int stored = libraryBrowser().entryCount(kCategoryComposite) - 1;
    clickTile(stored);
    EXPECT_TRUE(penCarries(plant->id));
    run(kCmdEditUndo);
    EXPECT_FALSE(framed(stored));
    plant = asComposite(controller().workObject());
    ASSERT_NE(plant, nullptr);
    drag(straightLine({0, 0.5, 0}, {0.3, 0.8, 0}, 20));
    ASSERT_EQ(plant->branches.size(), 1u);
    EXPECT_EQ(plant->branches[0].composite->segments.front().node->kind, kKindStem);
    run(kCmdLeafLibrary);
    EXPECT_TRUE(penCarries(leaf));
}
