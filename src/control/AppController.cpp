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
#include "organs/FlowerTorusNode.h"

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

void AppController::storeCurrent() {
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
        }
        return;
    }
    if (isSceneMode(mode_)) {
        FlowerObjectNode* current = focus();
        if (current && current->kind != kKindSketch) {
            std::unique_ptr<FlowerObjectNode> copy = current->clone();
            const int category = libraryCategoryOf(*copy);
            addToLibrary(std::move(copy), category);
            browser.setCategory(category);
            noteChange(kChangeLibrary, "Store object");
        }
        return;
    }
    FlowerObjectNode* work = workObject();
    if (!work)
        return;
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
    noteChange(kChangeWorkObject | kChangeScene | kChangeLibrary);
}

void AppController::noteChange(unsigned changes, const std::string& step) {
    pendingChanges_ |= changes;
    if (!step.empty())
        pendingStep_ = step;
}

void AppController::commit(unsigned changes, const std::string& step) {
    noteChange(changes, step);
    commit();
}

void AppController::commit() {
    const unsigned changes = pendingChanges_;
    const std::string step = std::move(pendingStep_);
    pendingChanges_ = 0;
    pendingStep_.clear();
    if (changes == 0)
        return;
    if (changes & kModelChanges) {
        modified_ = true;
        if (!step.empty())
            lastStep_ = step;
    }
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
