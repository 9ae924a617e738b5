#include "control/AppController.h"

#include "control/FloralDiagram.h"
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
#include "organs/ExactCopy.h"
#include "organs/FlowerTorusNode.h"

#include <cstddef>

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

AppController::AppController() {
    installedContext_.emplace(modelContext(nullptr));
}

AppController::~AppController() {
    sceneFocus_.clear();
    dropWorkObject();
    library_.clear();
}

ModelContext AppController::modelContext(TextureCache* textures) {
    return {&ids_, &parameters, &display, textures};
}

void AppController::installTextures(TextureCache* textures) {
    installedContext_.reset();
    installedContext_.emplace(modelContext(textures));
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
}

void AppController::createScene() {
    openScene(std::make_unique<SceneRoot>(nextId()));
    switchToMode(kModeSceneSketch);
    noteChange(kChangeLibraryView);
}

void AppController::createFlower() {
    enterCreationMode(kModeTorusModify);
    auto flower = std::make_unique<FlowerTorusNode>(nextId());
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

void AppController::drawMainView() {
    placeFrameLights();
    if (isSceneMode(mode_)) {
        sceneFocus_.drawScene(showControlPoints, showWireFrame);
        return;
    }
    FlowerObjectNode* work = workObject();
    if (!work)
        return;
    if (showControlPoints)
        work->drawControlPoints();
    if (showWireFrame)
        work->drawWireframe();
    else
        work->drawSolid();
}

void AppController::drawOverall() {
    placeFrameLights();
    if (!isSceneMode(mode_) || !root())
        return;
    glPushMatrix();
    root()->drawSolid();
    glPopMatrix();
}

void AppController::refreshPickBuffers() {
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    if (!context)
        return;
    ++pickRefreshes_;
    context->beginSnapshot();
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    drawMainView();
    context->endFrame();
}

void AppController::dropWorkObject() {
    workObjectId_ = -1;
    unstoredWorkObject_.reset();
}

void AppController::setWorkObject(std::unique_ptr<FlowerObjectNode> node) {
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
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    libraryBrowser().addEntry(id, renderThumbnail(*node, context), category);
    library_.emplace(id, std::move(node));
    noteChange(kChangeLibrary);
}

void AppController::addScene(std::unique_ptr<SceneRoot> scene) {
    SceneRoot* stored = sceneFocus_.storeScene(std::move(scene));
    if (!stored)
        return;
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    libraryBrowser().addEntry(stored->id, renderThumbnail(*stored, context), kCategoryScene);
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

bool AppController::storeCurrent() {
    LibraryBrowser& browser = libraryBrowser();
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    if (mode_ == kModeSceneSketch) {
        if (SceneRoot* scene = root()) {
            if (!sceneFocus_.scenes().count(scene->id)) {
                sceneFocus_.storeRoot();
                browser.setCategory(kCategoryScene);
                browser.addEntry(scene->id, QImage(), kCategoryScene);
            }
            browser.replaceThumbnail(scene->id, renderThumbnail(*scene, context));
            noteChange(kChangeLibrary, "Store scene");
            return true;
        }
        return false;
    }
    if (isSceneMode(mode_)) {
        FlowerObjectNode* current = focus();
        if (current && current->kind != kKindSketch) {
            std::unique_ptr<FlowerObjectNode> copy = current->clone();
            const int category = libraryCategoryOf(*copy);
            addToLibrary(std::move(copy), category);
            browser.setCategory(category);
            noteChange(kChangeLibrary, "Store object");
            return true;
        }
        return false;
    }
    FlowerObjectNode* work = workObject();
    if (!work)
        return false;
    const int id = work->id;
    const int category = libraryCategoryOf(*work);
    if (unstoredWorkObject_) {
        workObjectId_ = id;
        library_.emplace(id, std::move(unstoredWorkObject_));
        browser.addEntry(id, QImage(), category);
    }
    browser.replaceThumbnail(id, renderThumbnail(*work, context));
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
    restoreSnapshot(history_.undo());
    return true;
}

bool AppController::redo() {
    if (!history_.canRedo())
        return false;
    restoreSnapshot(history_.redo());
    return true;
}

void AppController::renewEditedThumbnails(unsigned changes) {
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    std::set<int> renew = editedIds_;
    if (changes & kChangeWorkObject)
        if (FlowerObjectNode* work = workObject())
            renew.insert(work->id);
    for (int id : renew)
        if (auto it = library_.find(id); it != library_.end())
            libraryBrowser().replaceThumbnail(id, renderThumbnail(*it->second, context));
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
            copy = exactCopy(live);
            next.bytes += estimatedBytes(*copy);
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
    const auto sceneCopyOf = [&](const SceneRoot& live) {
        auto it = sceneSources_.find(live.id);
        ModelSnapshot::Scene copy;
        if (it != sceneSources_.end() && !editedIds_.count(live.id) &&
            !((changes & kChangeScene) && live.id == openId)) {
            copy = it->second;
        } else {
            copy = exactCopy(live);
            next.bytes += estimatedBytes(*copy);
        }
        sceneSources[live.id] = copy;
        return copy;
    };
    for (const auto& [id, scene] : sceneFocus_.scenes())
        next.scenes[id] = sceneCopyOf(*scene);
    next.openSceneId = openId;
    if (SceneRoot* open = root(); open && !sceneFocus_.scenes().count(open->id))
        next.unstoredScene = sceneCopyOf(*open);
    sceneSources_ = std::move(sceneSources);

    next.browser = libraryBrowser().state();
    next.mode = mode_;
    const FlowerTorusNode* bound = floralDiagram().receptacle();
    next.diagramReceptacleId = bound ? bound->id : -1;
    return next;
}

void AppController::restoreSnapshot(const ModelSnapshot& target) {
    // A live object stays when it already is what the target holds; every other
    // one is replaced by a copy of the target's.
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
            object = exactCopy(*wanted);
        return object;
    };
    library_.clear();
    std::map<int, ModelSnapshot::Object> objectSources;
    for (const auto& [id, wanted] : target.library) {
        library_[id] = bring(id, wanted);
        objectSources[id] = wanted;
    }
    workObjectId_ = target.workObjectId;
    unstoredWorkObject_.reset();
    if (target.unstoredWorkObject) {
        const int id = target.unstoredWorkObject->id;
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
        if (it != liveScenes.end() && source != sceneSources_.end() && source->second == wanted)
            return std::move(it->second);
        return exactCopy(*wanted);
    };
    std::map<int, std::unique_ptr<SceneRoot>> scenes;
    std::map<int, ModelSnapshot::Scene> sceneSources;
    for (const auto& [id, wanted] : target.scenes) {
        scenes[id] = bringScene(id, wanted);
        sceneSources[id] = wanted;
    }
    std::unique_ptr<SceneRoot> unstoredScene;
    if (target.unstoredScene) {
        const int id = target.unstoredScene->id;
        unstoredScene = bringScene(id, target.unstoredScene);
        sceneSources[id] = target.unstoredScene;
    }
    sceneSources_ = std::move(sceneSources);
    sceneFocus_.restore(std::move(scenes), target.openSceneId, std::move(unstoredScene));
    if (modeHost_)
        modeHost_->forgetSceneInteraction();

    libraryBrowser().restore(target.browser);
    switchToMode(target.mode);
    FloralDiagram& diagram = floralDiagram();
    diagram.unbind();
    if (auto* receptacle = dynamic_cast<FlowerTorusNode*>(findObject(target.diagramReceptacleId)))
        diagram.bind(receptacle);
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
