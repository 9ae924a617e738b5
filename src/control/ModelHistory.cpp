#include "control/ModelHistory.h"

#include "control/Change.h"
#include "control/FloralDiagram.h"
#include "control/ObjectLibrary.h"
#include "control/SceneFocusManager.h"
#include "model/FlowerObjectNode.h"
#include "model/ReadContext.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"

ModelHistory::ModelHistory(ObjectLibrary& objects, SceneFocusManager& scenes)
    : objects_(objects), scenes_(scenes) {}

void ModelHistory::record(unsigned changes, const std::set<int>& editedIds, std::string step,
                          StepJoining joining, int mode, const WriteContext& writing) {
    if (restart_) {
        restart_ = false;
        objectSources_.clear();
        sceneSources_.clear();
        sparePlants_.clear();
        history_.start(capture(changes, editedIds, mode, writing));
        markSaved();
        return;
    }
    if (step.empty())
        step = changes & kChangeScene        ? "Edit scene"
               : changes & kChangeWorkObject ? "Edit object"
                                             : "Change library";
    history_.record(step, capture(changes, editedIds, mode, writing), joining);
    lastStep_ = step;
}

const ModelSnapshot* ModelHistory::undo(const ReadContext& reading) {
    if (!history_.canUndo())
        return nullptr;
    // The focus returns to where the step taken back was made.
    ModelSnapshot undone = history_.current();
    const ModelSnapshot& target = history_.undo();
    restore(target, std::move(undone.focusPath), std::move(undone.candidates), reading);
    return &target;
}

const ModelSnapshot* ModelHistory::redo(const ReadContext& reading) {
    if (!history_.canRedo())
        return nullptr;
    const ModelSnapshot& redone = history_.redo();
    restore(redone, redone.focusPath, redone.candidates, reading);
    return &redone;
}

ModelSnapshot ModelHistory::capture(unsigned changes, const std::set<int>& editedIds, int mode,
                                    const WriteContext& writing) {
    ModelSnapshot next;
    std::map<int, ModelSnapshot::Object> objectSources;
    const FlowerObjectNode* work = objects_.workObject();
    const auto unchanged = [&](int id) {
        return !editedIds.count(id) && !((changes & kChangeWorkObject) && work && work->id == id);
    };
    const auto copyOf = [&](const FlowerObjectNode& live) {
        auto it = objectSources_.find(live.id);
        ModelSnapshot::Object copy;
        if (it != objectSources_.end() && unchanged(live.id)) {
            copy = it->second;
        } else {
            copy = FrozenEntry::freeze(live, writing);
            next.bytes += copy->bytes();
        }
        objectSources[live.id] = copy;
        return copy;
    };
    for (const auto& [id, object] : objects_.entries())
        next.library[id] = copyOf(*object);
    next.workObjectId = objects_.storedWorkObjectId();
    if (const FlowerObjectNode* unstored = objects_.unstoredWorkObject())
        next.unstoredWorkObject = copyOf(*unstored);
    objectSources_ = std::move(objectSources);

    std::map<int, ModelSnapshot::Scene> sceneSources;
    const int openId = scenes_.openSceneId();
    // An edit made with a plant in focus changes that plant only (and those holding
    // the chosen candidates); every other plant keeps its piece of the last step.
    // From the whole scene, or with a candidate not found, any plant may have changed.
    const SceneRoot* open = scenes_.root();
    const std::vector<int>& focusPath = scenes_.pathIds();
    std::set<int> changedPlants;
    bool anyPlantChanged = !open || focusPath.empty();
    if (!anyPlantChanged) {
        std::vector<int> held = scenes_.candidateIds();
        held.push_back(focusPath.front());
        for (int id : held)
            if (const SceneLookup found = open->findInScene(id); found.found)
                changedPlants.insert(found.plant->id);
            else
                anyPlantChanged = true;
    }
    const auto plantUnchanged = [&](int plantId) {
        return !anyPlantChanged && !changedPlants.count(plantId);
    };
    const auto sceneCopyOf = [&](const SceneRoot& live) {
        auto it = sceneSources_.find(live.id);
        const bool known = it != sceneSources_.end();
        ModelSnapshot::Scene copy;
        if (known && !editedIds.count(live.id) &&
            !((changes & kChangeScene) && live.id == openId)) {
            copy = it->second;
        } else {
            const bool pieceByPlant = known && live.id == openId && !editedIds.count(live.id);
            copy = FrozenEntry::freeze(live, writing, pieceByPlant ? it->second.get() : nullptr,
                                       plantUnchanged);
            next.bytes += copy->bytes();
        }
        sceneSources[live.id] = copy;
        return copy;
    };
    for (const auto& [id, scene] : scenes_.scenes())
        next.scenes[id] = sceneCopyOf(*scene);
    next.openSceneId = openId;
    if (open && !scenes_.scenes().count(open->id))
        next.unstoredScene = sceneCopyOf(*open);
    sceneSources_ = std::move(sceneSources);

    next.focusPath = scenes_.pathIds();
    next.candidates = scenes_.candidateIds();
    next.tiles = libraryBrowser().tiles();
    next.mode = mode;
    const FlowerTorusNode* bound = floralDiagram().receptacle();
    next.diagramReceptacleId = bound ? bound->id : -1;
    return next;
}

void ModelHistory::restore(const ModelSnapshot& target, std::vector<int> focusPath,
                           std::vector<int> candidates, const ReadContext& reading) {
    // A live object stays when it already is what the target holds; every other
    // one is thawed from the target's record.
    ObjectLibrary::Entries live = objects_.takeAll();
    const auto bring = [&](int id, const ModelSnapshot::Object& wanted) {
        auto it = live.find(id);
        auto source = objectSources_.find(id);
        std::unique_ptr<FlowerObjectNode> object;
        if (it != live.end() && source != objectSources_.end() && source->second == wanted)
            object = std::move(it->second);
        else
            object = wanted->thawObject(reading);
        return object;
    };
    ObjectLibrary::Entries entries;
    std::map<int, ModelSnapshot::Object> objectSources;
    // A record that does not thaw (it always should) leaves its entry out rather than
    // an empty one in.
    for (const auto& [id, wanted] : target.library)
        if (std::unique_ptr<FlowerObjectNode> object = bring(id, wanted)) {
            entries[id] = std::move(object);
            objectSources[id] = wanted;
        }
    std::unique_ptr<FlowerObjectNode> unstoredWork;
    if (target.unstoredWorkObject) {
        const int id = target.unstoredWorkObject->id();
        unstoredWork = bring(id, target.unstoredWorkObject);
        objectSources[id] = target.unstoredWorkObject;
    }
    objects_.restore(std::move(entries), target.workObjectId, std::move(unstoredWork));
    objectSources_ = std::move(objectSources);

    FrozenEntry::SparePlants displaced;
    std::map<int, std::unique_ptr<SceneRoot>> liveScenes = scenes_.takeScenes();
    if (std::unique_ptr<SceneRoot> unstored = scenes_.takeUnstoredRoot()) {
        const int id = unstored->id;
        liveScenes[id] = std::move(unstored);
    }
    const auto bringScene = [&](int id, const ModelSnapshot::Scene& wanted) {
        auto it = liveScenes.find(id);
        auto source = sceneSources_.find(id);
        const bool held = it != liveScenes.end() && source != sceneSources_.end();
        if (held && source->second == wanted)
            return std::move(it->second);
        // The plants the step left alone stay as they are, and the plants the last
        // restore took out come back when the step goes back to them.
        return held ? wanted->thawScene(reading, source->second.get(), it->second.get(),
                                        &sparePlants_, &displaced)
                    : wanted->thawScene(reading);
    };
    std::map<int, std::unique_ptr<SceneRoot>> scenes;
    std::map<int, ModelSnapshot::Scene> sceneSources;
    for (const auto& [id, wanted] : target.scenes)
        if (std::unique_ptr<SceneRoot> scene = bringScene(id, wanted)) {
            scenes[id] = std::move(scene);
            sceneSources[id] = wanted;
        }
    std::unique_ptr<SceneRoot> unstoredScene;
    if (target.unstoredScene) {
        const int id = target.unstoredScene->id();
        unstoredScene = bringScene(id, target.unstoredScene);
        sceneSources[id] = target.unstoredScene;
    }
    sceneSources_ = std::move(sceneSources);
    sparePlants_ = std::move(displaced);
    scenes_.restore(std::move(scenes), target.openSceneId, std::move(unstoredScene));
    scenes_.setFocusIds(std::move(focusPath), std::move(candidates));
}
