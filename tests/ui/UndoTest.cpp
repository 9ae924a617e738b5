#include "OrganSketchingFixture.h"

#include "control/FrozenEntry.h"
#include "control/LibraryFileModule.h"
#include "library/LibraryFile.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectComposite.h"
#include "model/NodeRecord.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"
#include "support/SamplePlants.h"
#include "ui/CFlowerLibView.h"

#include <functional>
#include <string>

class UndoTest : public OrganSketchingFixture {
protected:
    // The library as Save writes it, followed by the work object's record and the
    // mode: what an undo step must give back exactly.
    std::string modelText() {
        TextWriter out;
        const WriteContext writing = controller().writeContext();
        writeLibrary(out, libraryFileModule().libraryContents(), writing);
        if (const FlowerObjectNode* work = controller().workObject())
            writeTypedRecord(out, *work, writing);
        out.format("mode %d\n", controller().mode());
        return out.str();
    }

    // Where two texts part, with a few lines of each from there, for a readable
    // failure; empty when they are the same.
    static std::string difference(const std::string& a, const std::string& b) {
        if (a == b)
            return {};
        size_t at = 0;
        while (at < a.size() && at < b.size() && a[at] == b[at])
            ++at;
        const size_t from = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
        return "expected: " + a.substr(from, 160) + "\n  actual: " + b.substr(from, 160);
    }

    // The step changes the model; undo gives back the text before it byte for byte,
    // and redo the text after it.
    void expectUndoAndRedo(const char* name, const std::function<void()>& step) {
        SCOPED_TRACE(name);
        const std::string before = modelText();
        step();
        const std::string after = modelText();
        ASSERT_NE(before, after);
        EXPECT_EQ(controller().history().undoName(), name);
        run(kCmdEditUndo);
        EXPECT_EQ(difference(before, modelText()), "");
        run(kCmdEditRedo);
        EXPECT_EQ(difference(after, modelText()), "");
    }

    void strokeOnPlane(const Vector3& from, const Vector3& to) { drag(straightLine(from, to, 20)); }
};

TEST_F(UndoTest, EveryKindOfStepIsTakenBackAndMadeAgainExactly) {
    expectUndoAndRedo("Draw petal", [this] { ASSERT_NE(drawPetal(), nullptr); });
    expectUndoAndRedo("Store object", [this] { run(kCmdStoreCurrent); });
    const QImage storedTile = *libraryBrowser().thumbnailAt(1, kCategoryLeaf);
    expectUndoAndRedo("Bend petal", [this] {
        const PetalControlPointManager& net = work<FlowerPetalNode>()->controlPoints();
        const int row = net.rowCount() / 2;
        std::vector<Vector3> arch;
        const Vector3 left = net.pointAt(row, 0), right = net.pointAt(row, net.lastColumn());
        for (int k = 0; k <= 20; ++k)
            arch.push_back(left + (right - left) * (k / 20.0) +
                           Vector3(0, 0.1 * std::sin(std::numbers::pi * k / 20.0), 0));
        drag(arch);
    });
    // The stored petal's tile follows its edits, and undo brings the old one back.
    EXPECT_NE(*libraryBrowser().thumbnailAt(1, kCategoryLeaf), storedTile);

    expectUndoAndRedo("Create flower", [this] { run(kCmdFlowerCreation); });
    libraryBrowser().setCategory(kCategoryLeaf);
    libraryBrowser().select(1, kCategoryLeaf);
    expectUndoAndRedo("Start new object", [this] { run(kCmdCompositeCreation); });
    expectUndoAndRedo("Draw plant", [this] { strokeOnPlane({0, 0, 0}, {0, 1, 0}); });
    expectUndoAndRedo("Grow branch", [this] { strokeOnPlane({0, 0.5, 0}, {0.4, 0.8, 0}); });

    // Delete from library: the entry and its tile come back with undo.
    QWidget* library = frame->libraryView();
    run(kCmdLeafLibrary);
    expectUndoAndRedo("Delete from library", [&] {
        QTest::mousePress(library, Qt::LeftButton, Qt::NoModifier, QPoint(41, 117));
        QTest::mouseMove(library, QPoint(41, 41));
        QTest::mouseRelease(library, Qt::LeftButton, Qt::NoModifier, QPoint(41, 41));
    });
    run(kCmdEditUndo);
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryLeaf), 2);
    EXPECT_NE(libraryBrowser().thumbnailAt(1, kCategoryLeaf), nullptr);
}

// A branch grown on one plant of a scene packs that plant alone into the undo step;
// undo and redo give the whole scene back exactly and rebuild only that plant.
TEST_F(UndoTest, AnEditInsideOnePlantOfASceneSharesTheOtherPlantsWithTheStepBefore) {
    AppController& c = controller();
    addAndSelect(samples::plant(records(), 3), kCategoryComposite);
    run(kCmdSceneCreation);
    run(kCmdToolPen);
    for (double x : {-0.6, 0.0, 0.6})
        strokeOnPlane({x, 0, 0}, {x, 1.2, 0});
    ASSERT_EQ(c.root()->plants.size(), 3u);
    const auto sceneText = [&] {
        LibraryContents contents;
        contents.scenes.push_back(c.root());
        TextWriter out;
        writeLibrary(out, contents, c.writeContext());
        return out.str();
    };

    const FlowerObjectComposite& middle = *c.root()->plants[1].composite;
    c.focusDown(middle.id, false);
    c.commit();
    ASSERT_EQ(c.focus(), &middle);
    run(kCmdToolPen);
    const Vector3 onAxis = transformPoint(c.root()->findInScene(middle.id).matrix,
                                          middle.mainAxis.points[middle.mainAxis.size() / 3]);
    const std::string before = sceneText();
    const std::size_t historyBefore = c.history().bytes();
    strokeOnPlane(onAxis, onAxis + Vector3(0.3, 0.25, 0));
    const std::string after = sceneText();
    ASSERT_TRUE(before != after) << "no branch grew";
    // The step costs the edited plant; the other two would cost about as much again.
    std::size_t edited = 0, others = 0;
    for (const auto& plant : c.root()->plants)
        (plant.composite->id == middle.id ? edited : others) +=
            FrozenEntry::freeze(*plant.composite, c.writeContext())->bytes();
    EXPECT_LT(c.history().bytes() - historyBefore, edited + others / 2);

    // Undo and redo keep the plants the step left alone as they are.
    const FlowerObjectComposite* untouched = c.root()->plants[0].composite.get();
    run(kCmdEditUndo);
    EXPECT_EQ(difference(before, sceneText()), "");
    EXPECT_EQ(c.root()->plants[0].composite.get(), untouched);
    run(kCmdEditRedo);
    EXPECT_EQ(difference(after, sceneText()), "");
    EXPECT_EQ(c.root()->plants[0].composite.get(), untouched);
}

TEST_F(UndoTest, AnUndoneStepsEditsAreDroppedByTheNextStepAndTheSavedStateIsUnmodified) {
    ASSERT_NE(drawPetal(), nullptr);
    run(kCmdStoreCurrent);
    ASSERT_TRUE(frame->document().saveDocument(pathOf("saved.pmr")));
    EXPECT_FALSE(controller().modified());
    run(kCmdFlowerCreation);
    EXPECT_TRUE(controller().modified());
    run(kCmdEditUndo);
    EXPECT_FALSE(controller().modified());
    run(kCmdStamenCreation);
    drag(straightLine({0.0, 0.1, 0.0}, {0.05, 0.8, 0.0}, 12));
    EXPECT_FALSE(controller().history().canRedo());
    EXPECT_EQ(controller().history().undoName(), "Draw stamen");
}

TEST_F(UndoTest, TheHistoryKeepsItsLimitDroppingTheOldestSteps) {
    controller().setHistoryLimits(100, UndoHistory::kDefaultByteLimit);
    ASSERT_NE(drawPetal(), nullptr);
    const std::string drawn = modelText();
    for (int i = 0; i < 149; ++i)
        controller().commit(kChangeWorkObject, "Touch petal");
    EXPECT_EQ(controller().history().steps(), 100u);
    int undone = 0;
    while (controller().undo())
        ++undone;
    EXPECT_EQ(undone, 100);
    while (controller().redo()) {
    }
    EXPECT_EQ(difference(drawn, modelText()), "");
}
