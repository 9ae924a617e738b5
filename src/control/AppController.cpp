#include "control/AppController.h"

#include "control/FloralDiagram.h"
#include "control/FrozenEntry.h"
#include "control/LibraryBrowser.h"
#include "control/ModeHost.h"
#include "control/Singleton.h"
#include "control/Thumbnail.h"
#include "control/ViewHost.h"
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"

#include <chrono>
#include <cstddef>
#include <thread>

int libraryCategoryOf(const FlowerObjectNode& node) {
    switch (node.kind) {
    case kKindTorus:
        return kCategoryFlower;
    case kKindPistil:
    case kKindStamen:
    case kKindStem:
        return kCategoryPrimitive;
    case kKindPetal:
        return kCategoryLeaf;
    default:
        return kCategoryComposite;
    }
}

AppController::~AppController() {
    sceneFocus_.clear();
    dropWorkObject();
    library_.clear();
}

ReadContext AppController::readContext(std::string libraryFolder) {
    return {ids_, parameters, textures_, std::move(libraryFolder)};
}

WriteContext AppController::writeContext(std::string libraryFolder) const {
    return {textures_, std::move(libraryFolder)};
}

void AppController::installTextures(TextureCache* textures) {
    textures_ = textures;
}

void AppController::switchToMode(int mode) {
    if (!isValidMode(mode))
        return;
    mode_ = mode;
    if (modeHost_)
        modeHost_->activateMode(mode);
    noteChange(kChangeMainView);
}

FlowerObjectNode* AppController::workObject() const {
    if (unstoredWorkObject_)
        return unstoredWorkObject_.get();
    auto it = library_.find(workObjectId_);
    return it == library_.end() ? nullptr : it->second.get();
}

FlowerObjectNode* AppController::findObject(int id) const {
    if (id == -1)
        return nullptr;
    if (auto it = library_.find(id); it != library_.end())
        return it->second.get();
    if (unstoredWorkObject_ && unstoredWorkObject_->id == id)
        return unstoredWorkObject_.get();
    return nullptr;
}

bool AppController::libraryHolds(const FlowerObjectNode* node) const {
    if (!node)
        return false;
    auto it = library_.find(node->id);
    return it != library_.end() && it->second.get() == node;
}

void AppController::openScene(std::unique_ptr<SceneRoot> scene) {
    sceneFocus_.openScene(std::move(scene));
    drawingTool = kToolCursor;
    if (modeHost_)
        modeHost_->forgetSceneInteraction();
    noteChange(kChangeScene);
}

void AppController::switchToFocusMode() {
    FloralDiagram& diagram = floralDiagram();
    diagram.unbind();
    FlowerObjectNode* current = focus();
    if (!current) {
        switchToMode(kModeSceneSketch);
        return;
    }
    switch (current->kind) {
    case kKindTorus:
        switchToMode(kModeSceneTorus);
        diagram.bind(static_cast<FlowerTorusNode*>(current));
        break;
    case kKindPetal:
        switchToMode(kModeScenePetalModify);
        break;
    case kKindStamen:
        switchToMode(kModeSceneStamen);
        break;
    default:
        switchToMode(kModeSceneModify);
    }
}

void AppController::focusToRoot(bool animate) {
    sceneFocus_.clearCandidates();
    if (!root())
        return;
    sceneFocus_.clearPath();
    switchToFocusMode();
    drawingTool = kToolCursor;
    if (animate)
        flyMainCamera(homeCamera());
    noteChange(kChangeMainView | kChangeLibraryView);
}

void AppController::focusUp(bool animate) {
    if (!sceneFocus_.ascend())
        return;
    switchToFocusMode();
    drawingTool = kToolCursor;
    Matrix4 matrix;
    const FlowerObjectNode* current = sceneFocus_.focusWithMatrix(matrix);
    if (animate)
        flyMainCamera(current ? SceneFocusManager::framingCamera(*current, matrix) : homeCamera());
    noteChange(kChangeMainView | kChangeLibraryView);
}

void AppController::focusDown(int id, bool animate) {
    if (!sceneFocus_.descend(id))
        return;
    switchToFocusMode();
    drawingTool = kToolCursor;
    Matrix4 matrix;
    if (const FlowerObjectNode* current = sceneFocus_.focusWithMatrix(matrix); current && animate)
        flyMainCamera(SceneFocusManager::framingCamera(*current, matrix));
    noteChange(kChangeMainView | kChangeLibraryView);
}

bool AppController::selectSimilar(int id) {
    noteChange(kChangeMainView);
    return sceneFocus_.selectSimilar(id);
}

bool AppController::addCandidate(int id) {
    noteChange(kChangeMainView);
    return sceneFocus_.addCandidate(id);
}

Vector3 AppController::attachmentOrientation() const {
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    if (zDirection != 1 || !context)
        return Vector3(0.0, 1.0, 0.0);
    Matrix4 parentMatrix;
    sceneFocus_.parentWithMatrix(parentMatrix);
    const Camera& camera = context->camera();
    return unit(inverted(parentMatrix).rotateVector(camera.eye - camera.center));
}

bool AppController::canLoadSelectedIntoFocus() const {
    // A plant standing in the scene has no holder on the focus path to take its
    // replacement.
    return root() && (!sceneFocus_.candidateIds().empty() || sceneFocus_.pathIds().size() >= 2);
}

void AppController::loadSelectedIntoFocus() {
    if (!canLoadSelectedIntoFocus())
        return;
    const Vector3 orientation = attachmentOrientation();
    if (!sceneFocus_.candidateIds().empty()) {
        sceneFocus_.applyToCandidates(*libraryBrowser().copySelected(), orientation, ids_);
        noteChange(kChangeScene, "Replace candidates");
    } else {
        // A part that is not a composite keeps its side: its x axis (its z axis
        // towards the viewer with "z direction Here") seen from the parent.
        Matrix4 focusMatrix, parentMatrix;
        sceneFocus_.focusWithMatrix(focusMatrix);
        sceneFocus_.parentWithMatrix(parentMatrix);
        const Matrix4 relative = inverted(parentMatrix) * focusMatrix;
        Vector3 outward = relative.rotateVector(zDirection == 1 ? Vector3(0.0, 0.0, 1.0)
                                                                : Vector3(1.0, 0.0, 0.0));
        const CameraPose home = homeCamera();
        const Vector3 homeView = inverted(parentMatrix).rotateVector(home.eye - home.center);
        if (zDirection == 1 && dot(outward, homeView) < 0.0)
            outward = outward * -1.0;
        const int replacement = sceneFocus_.replaceFocus(libraryBrowser().copySelected(),
                                                         orientation, unit(outward), ids_);
        if (replacement != -1) {
            focusDown(replacement, false);
            noteChange(kChangeScene, "Replace focus");
        }
    }
    sceneFocus_.clearCandidates();
    noteChange(kChangeMainView | kChangeOverallView);
}

bool AppController::focusTakesPetal() const {
    const FlowerObjectNode* current = focus();
    return current && (current->kind == kKindComposite || current->kind == kKindTorus);
}

void AppController::startPetalOnFocus() {
    if (focusTakesPetal()) {
        switchToMode(kModeScenePetal);
        drawingTool = kToolPen;
    }
    if (modeHost_)
        modeHost_->preparePetal(false);
    noteChange(kChangeMainView);
}

FlowerObjectNode* AppController::focusedSketch() const {
    FlowerObjectNode* current = root() ? focus() : nullptr;
    return current && current->kind == kKindSketch ? current : nullptr;
}

bool AppController::putInSketchPlace(std::unique_ptr<FlowerObjectNode> organ) {
    const int id =
        sceneFocus_.replaceFocus(std::move(organ), {0.0, 0.0, 1.0}, {0.0, 0.0, 1.0}, ids_);
    if (id == -1)
        return false;
    focusDown(id, false);
    return true;
}

bool AppController::sketchReplaceableBy(int kind) const {
    const FlowerObjectNode* sketch = focusedSketch();
    if (!sketch)
        return false;
    if (kind == kKindPetal)
        return true;
    Matrix4 unused;
    const FlowerObjectNode* holder = sceneFocus_.parentWithMatrix(unused);
    if (!holder)
        return false;
    switch (kind) {
    case kKindStamen:
        return holder->kind == kKindComposite || holder->kind == kKindTorus;
    case kKindStem:
        return holder->kind == kKindComposite;
    case kKindTorus:
        return holder->kind == kKindComposite && sketch->mainAxis.size() >= 2;
    default:
        return false;
    }
}

void AppController::replaceSketchWithStamen() {
    if (sketchReplaceableBy(kKindStamen) && putInSketchPlace(std::make_unique<FlowerStamenNode>(
                                                nextId(), focusedSketch()->mainAxis, parameters)))
        noteChange(kChangeScene, "Replace sketch with stamen");
    noteChange(kChangeMainView | kChangeLibraryView);
}

void AppController::replaceSketchWithStem() {
    if (sketchReplaceableBy(kKindStem) && putInSketchPlace(std::make_unique<FlowerStemNode>(
                                              nextId(), focusedSketch()->mainAxis, parameters)))
        noteChange(kChangeScene, "Replace sketch with stem");
    if (modeHost_)
        modeHost_->forgetSceneInteraction();
    noteChange(kChangeMainView);
}

void AppController::replaceSketchWithFlower() {
    if (sketchReplaceableBy(kKindTorus)) {
        const FlowerObjectNode* sketch = focusedSketch();
        auto flower = std::make_unique<FlowerTorusNode>(nextId(), parameters.receptacle);
        FloralDiagram& diagram = floralDiagram();
        diagram.bindNewFlower(flower.get());
        diagram.unbind();
        // As long as the sketch from end to end.
        const double own = flower->mainAxis.length();
        if (own > 0.0)
            flower->scale(distance(sketch->mainAxis.front(), sketch->mainAxis.back()) / own);
        if (putInSketchPlace(std::move(flower)))
            noteChange(kChangeScene, "Replace sketch with flower");
    }
    if (modeHost_)
        modeHost_->forgetSceneInteraction();
    noteChange(kChangeMainView | kChangeLibraryView);
}

void AppController::replaceSketchWithPetal() {
    if (FlowerObjectNode* sketch = focusedSketch()) {
        switchToMode(kModeScenePetal);
        drawingTool = kToolPen;
        Stroke midrib;
        Stroke::resample(std::max(parameters.petal.vertical, 10) - 1, sketch->mainAxis, midrib);
        sketch->reshapeByStroke(midrib);
        noteChange(kChangeScene, "Resample sketch");
    }
    if (modeHost_)
        modeHost_->preparePetal(true);
    noteChange(kChangeMainView);
}

CameraPose AppController::homeCamera() const {
    const TOGL* context = host_ ? host_->mainContext() : nullptr;
    return context ? context->camera().home : kMainViewHomeCamera;
}

void AppController::flyMainCamera(const CameraPose& target) {
    // The flight repaints synchronously and never runs the event loop, so neither
    // the window nor the scene can go while it is under way; the context is still
    // fetched afresh for every step.
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    if (!context)
        return;
    // A turntable camera keeps the floor level, so it lands level too.
    const bool level = context->camera().orbitStyle == OrbitStyle::Turntable;
    const std::vector<CameraPose> poses =
        cameraFlight(context->camera().pose(), level ? levelled(target) : target);
    for (size_t i = 0; i < poses.size(); ++i) {
        context = host_->mainContext();
        if (!context)
            return;
        context->setCamera(poses[i].eye, poses[i].center, poses[i].up);
        redrawMainView();
        if (i + 1 < poses.size())
            std::this_thread::sleep_for(std::chrono::milliseconds(kFlightStepMs));
    }
}

FlowerObjectNode* AppController::targetObject() const {
    return isSceneMode(mode_) ? focus() : workObject();
}

unsigned AppController::targetChange() const {
    return isSceneMode(mode_) ? kChangeScene : kChangeWorkObject;
}

void AppController::enterCreationMode(int creationMode) {
    if (TOGL* context = host_ ? host_->mainContext() : nullptr)
        context->resetCamera();
    setWorkObject(nullptr);
    switchToMode(creationMode);
    noteChange(0, "Start new object");
}

void AppController::createScene() {
    openScene(std::make_unique<SceneRoot>(nextId()));
    drawingTool = kToolPen;
    switchToMode(kModeSceneSketch);
    noteChange(kChangeLibraryView);
}

void AppController::createFlower() {
    enterCreationMode(kModeTorusModify);
    auto flower = std::make_unique<FlowerTorusNode>(nextId(), parameters.receptacle);
    FlowerTorusNode* created = flower.get();
    // The diagram finds the receptacles it binds among the objects the controller
    // holds: the flower is the work object first.
    setWorkObject(std::move(flower));
    FloralDiagram& diagram = floralDiagram();
    diagram.bindNewFlower(created);
    diagram.unbind();
    storeCurrent();
    noteChange(kChangeWorkObject, "Create flower");
}

DrawContext AppController::drawRecords() const {
    DrawContext records;
    records.display = display;
    records.textures = textures_;
    records.slotSelection = &floralDiagram().selection();
    return records;
}

void AppController::drawMainView(const DrawContext& draw) {
    placeFrameLights();
    if (isSceneMode(mode_)) {
        sceneFocus_.drawScene(draw, showControlPoints, showWireFrame);
        return;
    }
    FlowerObjectNode* work = workObject();
    if (!work)
        return;
    if (showControlPoints)
        work->drawControlPoints(draw);
    if (showWireFrame)
        work->drawWireframe(draw);
    else
        work->drawSolid(draw);
}

void AppController::drawOverall(const DrawContext& draw) {
    placeFrameLights();
    if (!isSceneMode(mode_) || !root())
        return;
    glPushMatrix();
    root()->drawSolid(draw);
    glPopMatrix();
}

QImage AppController::thumbnailOf(SceneNode& node) {
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    // The tile is rendered through the main view's context, whose CPU copies the
    // picks read: they must be refreshed before the next click looks at them.
    picksStale_ = context != nullptr;
    return renderThumbnail(node, context, drawRecords());
}

void AppController::refreshPickBuffers() {
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    if (!context)
        return;
    ++pickRefreshes_;
    picksStale_ = false;
    context->beginSnapshot();
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    drawMainView(context->frameContext(drawRecords()));
    context->endFrame();
}

void AppController::dropWorkObject() {
    workObjectId_ = -1;
    unstoredWorkObject_.reset();
}

void AppController::setWorkObject(std::unique_ptr<FlowerObjectNode> node) {
    // No work object replacing none changes nothing that undo would give back.
    if (!node && !workObject())
        return;
    dropWorkObject();
    unstoredWorkObject_ = std::move(node);
    noteChange(kChangeWorkObject | kChangeLibraryView);
}

void AppController::addToLibrary(std::unique_ptr<FlowerObjectNode> node, int category) {
    if (!node)
        return;
    dropWorkObject();
    const int id = node->id;
    if (library_.count(id))
        return;
    libraryBrowser().addEntry(id, thumbnailOf(*node), category);
    library_.emplace(id, std::move(node));
    noteChange(kChangeLibrary);
}

void AppController::addScene(std::unique_ptr<SceneRoot> scene) {
    SceneRoot* stored = sceneFocus_.storeScene(std::move(scene));
    if (!stored)
        return;
    libraryBrowser().addEntry(stored->id, thumbnailOf(*stored), kCategoryScene);
    sceneFocus_.closeScene();
    noteChange(kChangeLibrary | kChangeScene);
}

bool AppController::removeObject(int id) {
    if (id == -1)
        return false;
    if (FlowerObjectNode* work = workObject(); work && work->id == id) {
        // A work object the library does not hold would be lost once it stops being
        // the work object: it goes with it.
        dropWorkObject();
        switchToMode(kModeComposit);
        noteChange(kChangeWorkObject);
    }
    floralDiagram().unbindIf(id);
    bool removed = library_.erase(id) > 0;
    if (!removed)
        removed = sceneFocus_.removeScene(id);
    if (removed) {
        libraryBrowser().removeEntry(id);
        noteChange(kChangeLibrary | kChangeScene);
    }
    return removed;
}

const SceneNode* AppController::storable() const {
    if (mode_ == kModeSceneSketch)
        return root();
    if (isSceneMode(mode_)) {
        const FlowerObjectNode* current = focus();
        return current && current->kind != kKindSketch ? current : nullptr;
    }
    return workObject();
}

bool AppController::storeCurrent() {
    if (!storable())
        return false;
    LibraryBrowser& browser = libraryBrowser();
    if (mode_ == kModeSceneSketch) {
        SceneRoot* scene = root();
        if (!sceneFocus_.scenes().count(scene->id)) {
            sceneFocus_.storeRoot();
            browser.setCategory(kCategoryScene);
            browser.addEntry(scene->id, QImage(), kCategoryScene);
        }
        browser.replaceThumbnail(scene->id, thumbnailOf(*scene));
        noteChange(kChangeLibrary, "Store scene");
        return true;
    }
    if (isSceneMode(mode_)) {
        std::unique_ptr<FlowerObjectNode> copy = focus()->clone(ids_);
        const int category = libraryCategoryOf(*copy);
        addToLibrary(std::move(copy), category);
        browser.setCategory(category);
        noteChange(kChangeLibrary, "Store object");
        return true;
    }
    FlowerObjectNode* work = workObject();
    const int id = work->id;
    const int category = libraryCategoryOf(*work);
    if (unstoredWorkObject_) {
        workObjectId_ = id;
        library_.emplace(id, std::move(unstoredWorkObject_));
        browser.addEntry(id, QImage(), category);
    }
    browser.replaceThumbnail(id, thumbnailOf(*work));
    browser.setCategory(category);
    if (auto* receptacle = dynamic_cast<FlowerTorusNode*>(work))
        floralDiagram().bind(receptacle);
    noteChange(kChangeLibrary, "Store object");
    return true;
}

void AppController::resetAll() {
    // Ids start again at 1: a diagram still bound would take up whatever new
    // receptacle is given the old id.
    floralDiagram().unbind();
    ids_.reset();
    dropWorkObject();
    library_.clear();
    libraryBrowser().reset();
    sceneFocus_.clear();
    restartHistory_ = true;
    noteChange(kChangeWorkObject | kChangeScene | kChangeLibrary);
}

void AppController::noteChange(unsigned changes, const std::string& step) {
    pendingChanges_ |= changes;
    if (!step.empty()) {
        pendingStep_ = step;
        pendingBurst_ = false;
    }
}

void AppController::noteAdjustment(unsigned changes, const std::string& step) {
    noteChange(changes, step);
    pendingBurst_ = true;
}

void AppController::noteEdited(int objectId) {
    if (objectId != -1)
        editedIds_.insert(objectId);
}

void AppController::commit(unsigned changes, const std::string& step) {
    noteChange(changes, step);
    commit();
}

void AppController::commit() {
    // An edit that took away a part on the focus path leaves the focus on the
    // nearest element still there, edited in that element's mode.
    if (sceneFocus_.prune() && isSceneMode(mode_))
        switchToFocusMode();
    unsigned changes = pendingChanges_;
    std::string step = std::move(pendingStep_);
    const bool burst = pendingBurst_;
    pendingChanges_ = 0;
    pendingStep_.clear();
    pendingBurst_ = false;
    if (!editedIds_.empty())
        changes |= kChangeLibrary;
    if (changes == 0)
        return;
    if (changes & kModelChanges) {
        renewEditedThumbnails(changes);
        if (restartHistory_) {
            restartHistory_ = false;
            objectSources_.clear();
            sceneSources_.clear();
            history_.start(captureSnapshot(changes));
            markSaved();
        } else {
            if (step.empty())
                step = changes & kChangeScene        ? "Edit scene"
                       : changes & kChangeWorkObject ? "Edit object"
                                                     : "Change library";
            history_.record(step, captureSnapshot(changes), burst);
            lastStep_ = step;
        }
        editedIds_.clear();
    }
    publish(changes);
}

bool AppController::undo() {
    if (!history_.canUndo())
        return false;
    // The focus returns to where the step taken back was made.
    ModelSnapshot undone = history_.current();
    restoreSnapshot(history_.undo(), std::move(undone.focusPath), std::move(undone.candidates));
    return true;
}

bool AppController::redo() {
    if (!history_.canRedo())
        return false;
    const ModelSnapshot& redone = history_.redo();
    restoreSnapshot(redone, redone.focusPath, redone.candidates);
    return true;
}

void AppController::renewEditedThumbnails(unsigned changes) {
    std::set<int> renew = editedIds_;
    if (changes & kChangeWorkObject)
        if (FlowerObjectNode* work = workObject())
            renew.insert(work->id);
    for (int id : renew)
        if (auto it = library_.find(id); it != library_.end())
            libraryBrowser().replaceThumbnail(id, thumbnailOf(*it->second));
}

ModelSnapshot AppController::captureSnapshot(unsigned changes) {
    ModelSnapshot next;
    std::map<int, ModelSnapshot::Object> objectSources;
    const FlowerObjectNode* work = workObject();
    const auto unchanged = [&](int id) {
        return !editedIds_.count(id) && !((changes & kChangeWorkObject) && work && work->id == id);
    };
    const auto copyOf = [&](const FlowerObjectNode& live) {
        auto it = objectSources_.find(live.id);
        ModelSnapshot::Object copy;
        if (it != objectSources_.end() && unchanged(live.id)) {
            copy = it->second;
        } else {
            copy = FrozenEntry::freeze(live, writeContext());
            next.bytes += copy->bytes();
        }
        objectSources[live.id] = copy;
        return copy;
    };
    for (const auto& [id, object] : library_)
        next.library[id] = copyOf(*object);
    next.workObjectId = workObjectId_;
    if (unstoredWorkObject_)
        next.unstoredWorkObject = copyOf(*unstoredWorkObject_);
    objectSources_ = std::move(objectSources);

    std::map<int, ModelSnapshot::Scene> sceneSources;
    const int openId = sceneFocus_.openSceneId();
    // An edit made with a plant in focus changes that plant only (and those holding
    // the chosen candidates); every other plant keeps its piece of the last step.
    // From the whole scene, or with a candidate not found, any plant may have changed.
    const SceneRoot* open = root();
    const std::vector<int>& focusPath = sceneFocus_.pathIds();
    std::set<int> changedPlants;
    bool anyPlantChanged = !open || focusPath.empty();
    if (!anyPlantChanged) {
        std::vector<int> held = sceneFocus_.candidateIds();
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
        if (known && !editedIds_.count(live.id) &&
            !((changes & kChangeScene) && live.id == openId)) {
            copy = it->second;
        } else {
            const bool pieceByPlant = known && live.id == openId && !editedIds_.count(live.id);
            copy = FrozenEntry::freeze(live, writeContext(),
                                       pieceByPlant ? it->second.get() : nullptr, plantUnchanged);
            next.bytes += copy->bytes();
        }
        sceneSources[live.id] = copy;
        return copy;
    };
    for (const auto& [id, scene] : sceneFocus_.scenes())
        next.scenes[id] = sceneCopyOf(*scene);
    next.openSceneId = openId;
    if (open && !sceneFocus_.scenes().count(open->id))
        next.unstoredScene = sceneCopyOf(*open);
    sceneSources_ = std::move(sceneSources);

    next.focusPath = sceneFocus_.pathIds();
    next.candidates = sceneFocus_.candidateIds();
    next.tiles = libraryBrowser().tiles();
    next.mode = mode_;
    const FlowerTorusNode* bound = floralDiagram().receptacle();
    next.diagramReceptacleId = bound ? bound->id : -1;
    return next;
}

void AppController::restoreSnapshot(const ModelSnapshot& target, std::vector<int> focusPath,
                                    std::vector<int> candidates) {
    // A live object stays when it already is what the target holds; every other
    // one is thawed from the target's record.
    const ReadContext reading = readContext();
    std::map<int, std::unique_ptr<FlowerObjectNode>> live = std::move(library_);
    if (unstoredWorkObject_) {
        const int id = unstoredWorkObject_->id;
        live[id] = std::move(unstoredWorkObject_);
    }
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
    library_.clear();
    std::map<int, ModelSnapshot::Object> objectSources;
    // A record that does not thaw (it always should) leaves its entry out rather than
    // an empty one in.
    for (const auto& [id, wanted] : target.library)
        if (std::unique_ptr<FlowerObjectNode> object = bring(id, wanted)) {
            library_[id] = std::move(object);
            objectSources[id] = wanted;
        }
    workObjectId_ = target.workObjectId;
    unstoredWorkObject_.reset();
    if (target.unstoredWorkObject) {
        const int id = target.unstoredWorkObject->id();
        unstoredWorkObject_ = bring(id, target.unstoredWorkObject);
        objectSources[id] = target.unstoredWorkObject;
    }
    objectSources_ = std::move(objectSources);

    std::map<int, std::unique_ptr<SceneRoot>> liveScenes = sceneFocus_.takeScenes();
    if (std::unique_ptr<SceneRoot> unstored = sceneFocus_.takeUnstoredRoot()) {
        const int id = unstored->id;
        liveScenes[id] = std::move(unstored);
    }
    const auto bringScene = [&](int id, const ModelSnapshot::Scene& wanted) {
        auto it = liveScenes.find(id);
        auto source = sceneSources_.find(id);
        const bool held = it != liveScenes.end() && source != sceneSources_.end();
        if (held && source->second == wanted)
            return std::move(it->second);
        // The plants the step left alone stay as they are.
        return held ? wanted->thawScene(reading, source->second.get(), it->second.get())
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
    sceneFocus_.restore(std::move(scenes), target.openSceneId, std::move(unstoredScene));
    sceneFocus_.setFocusIds(std::move(focusPath), std::move(candidates));
    if (modeHost_)
        modeHost_->forgetSceneInteraction();

    libraryBrowser().restoreTiles(target.tiles);
    switchToMode(target.mode);
    FloralDiagram& diagram = floralDiagram();
    diagram.unbind();
    if (auto* receptacle = dynamic_cast<FlowerTorusNode*>(findObject(target.diagramReceptacleId)))
        diagram.bind(receptacle);
    // The focus may have returned to another level than the one the target state
    // was left at: its mode follows it.
    if (isSceneMode(mode_) && root() && !sceneFocus_.pathIds().empty())
        switchToFocusMode();
    // The restored state is the history's own: nothing to record.
    pendingChanges_ = 0;
    pendingStep_.clear();
    editedIds_.clear();
    publish(kModelChanges | kChangeMainView | kChangeLibraryView);
}

void AppController::publish(unsigned changes) {
    if (changes & (kChangeLibrary | kChangeLibraryView | kChangeWorkObject))
        redrawLibraryView();
    if (changes & (kChangeScene | kChangeOverallView))
        redrawOverallView();
    if (changes & (kChangeWorkObject | kChangeScene | kChangeMainView)) {
        redrawMainView();
        refreshPickBuffers();
    } else if (picksStale_) {
        refreshPickBuffers();
    }
    if (commitObserver_)
        commitObserver_();
}

void AppController::redrawMainView() {
    if (host_)
        host_->redrawMainView();
}

void AppController::redrawOverallView() {
    if (host_)
        host_->redrawOverallView();
}

void AppController::redrawLibraryView() {
    if (host_)
        host_->redrawLibraryView();
}

AppController& appController() {
    return singleton<AppController>();
}
