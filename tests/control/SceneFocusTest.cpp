#include "AppFixture.h"

#include "control/LibraryBrowser.h"
#include "support/SamplePlants.h"

#include <functional>

namespace {

// A plant of three flowers standing in a new open scene, the focus down on one
// petal of its second flower: plant, branch, flower head, petal.
struct DeepFocus {
    int plant = -1;
    int branch = -1;
    int flower = -1;
    int petal = -1;
};

DeepFocus focusOnAPetal(AppController& c) {
    c.createScene();
    c.root()->plantAlongStroke(samples::plant({c.ids(), c.settings().parameters}, 3),
                               samples::line({0, 0, 0}, {0, 3, 0}));
    c.commit();
    FlowerObjectComposite& plant = *c.root()->plants.front().composite;
    FlowerObjectComposite& branch = *plant.branches[1].composite;
    auto& flower = static_cast<FlowerTorusNode&>(*branch.segments[1].node);
    DeepFocus ids{plant.id, branch.id, flower.id, 
                  flower.whorl(kWhorlPetal).parts.front()->object->id};
    c.focusDown(ids.plant, false);
    c.focusDown(ids.branch, false);
    c.focusDown(ids.flower, false);
    c.focusDown(ids.petal, false);
    c.commit();
    return ids;
}

FlowerObjectComposite& plantOf(AppController& c, const DeepFocus& ids) {
    return *asComposite(c.root()->findInScene(ids.plant).object);
}

// A branch sketched as two billboards, as a user stands in for one not modelled
// yet; such branches are alike.
std::unique_ptr<FlowerObjectComposite> sketchedBranch(const ModelRecords& m) {
    auto branch = std::make_unique<FlowerObjectComposite>(m.nextId());
    branch->appendAlongAxis(samples::sketch(m), samples::line({0, 0, 0}, {0, 0.2, 0}), {0, 0, 1});
    branch->appendAlongAxis(samples::sketch(m), samples::line({0, 0.2, 0}, {0, 0.4, 0}), {0, 0, 1});
    return branch;
}

} // namespace

class SceneFocusTest : public AppFixture {};

TEST_F(SceneFocusTest, FocusMovesFollowTheClassOfTheFocusAndFrameIt) {
    AppController& c = controller();
    const DeepFocus ids = focusOnAPetal(c);
    ASSERT_EQ(c.sceneFocus().path().size(), 4u);
    EXPECT_EQ(c.focus()->id, ids.petal);
    EXPECT_EQ(c.mode(), kModeScenePetalModify);
    // The petal's matrix is the product down the path: its axis base lies on the
    // flower head, above the branch's base.
    Matrix4 matrix;
    c.sceneFocus().focusWithMatrix(matrix);
    EXPECT_GT(transformPoint(matrix, {}).y, 0.5);

    c.focusUp(false);
    EXPECT_EQ(c.mode(), kModeSceneTorus);
    c.focusUp(false);
    EXPECT_EQ(c.mode(), kModeSceneModify);
    Matrix4 parent;
    EXPECT_EQ(c.sceneFocus().parentWithMatrix(parent)->id, ids.plant);
    c.focusToRoot(false);
    EXPECT_EQ(c.focus(), nullptr);
    EXPECT_EQ(c.mode(), kModeSceneSketch);
    c.focusUp(false);
    EXPECT_EQ(c.mode(), kModeSceneSketch);

    // The framing camera looks at the middle of the axis from the front.
    const CameraPose frame = SceneFocusManager::framingCamera(plantOf(c, ids), Matrix4());
    EXPECT_NEAR(frame.center.y, 1.5, 1e-9);
    EXPECT_NEAR(frame.eye.z, 1.5 / std::tan(std::numbers::pi / 8) + 0.3, 1e-9);
}

TEST_F(SceneFocusTest, NothingOnThePathOrAmongTheCandidatesOutlivesTheNodeItNames) {
    AppController& c = controller();
    struct Action {
        const char* name;
        std::function<void(const DeepFocus&)> run;
        // Where the focus is left: the nearest element of the path still there.
        std::function<int(const DeepFocus&)> focusAfter;
    };
    const auto none = [](const DeepFocus&) { return -1; };
    const std::vector<Action> actions{
        {"erase the branch",
         [&](const DeepFocus& ids) { plantOf(c, ids).removeBranch(ids.branch); },
         [](const DeepFocus& ids) { return ids.plant; }},
        {"detach the petal",
         [&](const DeepFocus& ids) {
             static_cast<FlowerTorusNode*>(c.root()->findInScene(ids.flower).object)
                 ->detachOrgan(ids.petal);
         },
         [](const DeepFocus& ids) { return ids.flower; }},
        {"cut the branch at its flower",
         [&](const DeepFocus& ids) {
             asComposite(c.root()->findInScene(ids.branch).object)->cutAtSegment(ids.flower);
         },
         [](const DeepFocus& ids) { return ids.branch; }},
        {"replace the branch",
         [&](const DeepFocus& ids) {
             plantOf(c, ids).replaceBranch(ids.branch, samples::plant(records(), 1), {0, 1, 0});
         },
         [](const DeepFocus& ids) { return ids.plant; }},
        {"remove the plant", [&](const DeepFocus& ids) { c.root()->removePlant(ids.plant); }, none},
        {"open another scene", [&](const DeepFocus&) { c.createScene(); }, none},
        {"store and delete the scene",
         [&](const DeepFocus&) {
             c.switchToMode(kModeSceneSketch);
             c.storeCurrent();
             c.removeObject(c.root()->id);
         },
         none},
        {"open a file", [&](const DeepFocus&) { c.resetAll(); }, none},
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.name);
        const DeepFocus ids = focusOnAPetal(c);
        // Every branch of the plant a candidate.
        c.focusToRoot(false);
        c.focusDown(ids.plant, false);
        for (const auto& branch : plantOf(c, ids).branches)
            EXPECT_TRUE(c.addCandidate(branch.composite->id));
        EXPECT_EQ(c.sceneFocus().candidates().size(), 3u);
        c.focusDown(ids.branch, false);
        c.focusDown(ids.flower, false);
        c.focusDown(ids.petal, false);
        c.commit();

        action.run(ids);
        c.noteChange(kChangeScene, action.name);
        c.commit();
        // Every element still on the path is a live node of the open scene: under
        // the sanitizers a freed one would be caught here.
        for (const FocusLink& link : c.sceneFocus().path())
            EXPECT_TRUE(c.root()->findInScene(link.node->id).found);
        EXPECT_EQ(c.sceneFocus().pathIds().size(), c.sceneFocus().path().size());
        const FlowerObjectNode* focus = c.focus();
        EXPECT_EQ(focus ? focus->id : -1, action.focusAfter(ids));
        if (focus && focus->kind == kKindTorus) {
            EXPECT_EQ(c.mode(), kModeSceneTorus);
        }
        // Replacing what is left of the focus, with whatever candidates are left,
        // touches live nodes only.
        c.sceneEdits().loadSelectedIntoFocus();
        c.commit();
    }
}

TEST_F(SceneFocusTest, SimilarBranchesAreReplacedAtOnceAndUndoBringsBackTheFocus) {
    AppController& c = controller();
    const DeepFocus ids = focusOnAPetal(c);
    c.focusToRoot(false);
    c.focusDown(ids.plant, false);
    c.commit();
    // Three sketched branches are alike; the flower branches are not like them.
    std::vector<int> sketched;
    for (double at : {0.3, 0.5, 0.7}) {
        auto branch = sketchedBranch(records());
        sketched.push_back(branch->id);
        plantOf(c, ids).addBranch(at, std::move(branch),
                                  samples::line({0, 3 * at, 0}, {0.3, 3 * at + 0.3, 0}), {0, 0, 1});
    }
    c.commit(kChangeScene, "Grow branch");
    // A pick of a billboard names the branch that holds it.
    const int billboard =
        asComposite(c.root()->findInScene(sketched[1]).object)->segments.front().node->id;
    ASSERT_TRUE(c.selectSimilar(billboard));
    EXPECT_EQ(c.sceneFocus().candidateIds(), sketched);
    EXPECT_TRUE(c.addCandidate(ids.branch));
    EXPECT_FALSE(c.addCandidate(ids.branch));
    const int odd = ids.branch;

    // Nothing is selected in the library: each candidate becomes a wrapper of a
    // default stem, and the focus stays on the plant.
    c.sceneEdits().loadSelectedIntoFocus();
    c.commit();
    EXPECT_TRUE(c.sceneFocus().candidateIds().empty());
    EXPECT_EQ(c.focus()->id, ids.plant);
    EXPECT_FALSE(c.root()->findInScene(odd).found);
    int wrappers = 0;
    for (const auto& branch : plantOf(c, ids).branches)
        wrappers += branch.composite->segments.size() == 1 &&
                    branch.composite->segments.front().node->kind == kKindStem;
    EXPECT_EQ(wrappers, 4);
    EXPECT_EQ(plantOf(c, ids).branches.size(), 6u);
    // Down into a wrapper lands on the stem it holds, the wrapper on the path.
    const int wrapper = plantOf(c, ids).branches.back().composite->id;
    c.focusDown(wrapper, false);
    ASSERT_EQ(c.sceneFocus().pathIds().size(), 3u);
    EXPECT_EQ(c.sceneFocus().pathIds()[1], wrapper);
    EXPECT_EQ(c.focus()->kind, kKindStem);
    c.commit();

    // Taking the replacement back returns the branches and the focus where it was
    // made; redoing it returns the wrappers.
    ASSERT_TRUE(c.undo());
    EXPECT_TRUE(c.root()->findInScene(odd).found);
    EXPECT_TRUE(c.root()->findInScene(sketched[0]).found);
    ASSERT_TRUE(c.focus());
    EXPECT_EQ(c.focus()->id, ids.plant);
    EXPECT_EQ(c.mode(), kModeSceneModify);
    ASSERT_TRUE(c.redo());
    EXPECT_FALSE(c.root()->findInScene(odd).found);
}

TEST_F(SceneFocusTest, TheFocusItselfIsReplacedInItsParentsPlace) {
    AppController& c = controller();
    const DeepFocus ids = focusOnAPetal(c);
    c.focusUp(false);
    c.focusUp(false);
    ASSERT_EQ(c.focus()->id, ids.branch);
    c.sceneEdits().loadSelectedIntoFocus();
    c.commit();
    // The default stem is no composite: it stands in a wrapper in the branch's
    // place, and the focus passes through the wrapper to it.
    EXPECT_FALSE(c.root()->findInScene(ids.branch).found);
    ASSERT_TRUE(c.focus());
    EXPECT_EQ(c.focus()->kind, kKindStem);
    EXPECT_EQ(c.sceneFocus().path()[0].node->id, ids.plant);
    EXPECT_EQ(c.mode(), kModeSceneModify);

    c.sceneFocus().closeScene();
    c.sceneEdits().loadSelectedIntoFocus();
    c.commit();
    EXPECT_EQ(c.root(), nullptr);
}
