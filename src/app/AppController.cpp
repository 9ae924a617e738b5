#include "app/AppController.h"

#include "app/LibraryBrowser.h"
#include "app/MouseListenerForSceneModify.h"
#include "app/MouseListenerForSceneSketch.h"
#include "app/MouseListenerForSceneTorus.h"
#include "app/MouseListenerManager.h"
#include "app/Singleton.h"
#include "app/TOGL.h"
#include "app/ViewHost.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"

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

AppController::AppController()
    : previousContext_(installModelContext({&ids_, &parameters, &display, nullptr})) {}

AppController::~AppController() {
    sceneFocus_.clear();
    dropWorkObject();
    library_.clear();
    installModelContext(previousContext_);
}

void AppController::installTextures(TextureCache* textures) {
    installModelContext({&ids_, &parameters, &display, textures});
}

FlowerObjectNode* AppController::findObject(int id) const {
    if (id == -1)
        return nullptr;
    if (auto it = library_.find(id); it != library_.end())
        return it->second.get();
    if (workObject_ && workObject_->id == id)
        return workObject_;
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
    singleton<MouseListenerForSceneSketch>().resetTransientState();
    singleton<MouseListenerForSceneModify>().resetTransientState();
    singleton<MouseListenerForSceneTorus>().resetTransientState();
}

FlowerObjectNode* AppController::targetObject() const {
    return isSceneMode(mode) ? focus() : workObject_;
}

void AppController::drawMainView() {
    placeFrameLights();
    if (isSceneMode(mode)) {
        sceneFocus_.drawScene(showControlPoints, showWireFrame);
        return;
    }
    if (!workObject_)
        return;
    if (showControlPoints)
        workObject_->drawControlPoints();
    if (showWireFrame)
        workObject_->drawWireframe();
    else
        workObject_->drawSolid();
}

void AppController::drawOverall() {
    placeFrameLights();
    if (!isSceneMode(mode) || !root())
        return;
    glPushMatrix();
    root()->drawSolid();
    glPopMatrix();
}

void AppController::refreshPickBuffers() {
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    if (!context)
        return;
    context->beginSnapshot();
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    drawMainView();
    context->endFrame();
}

void AppController::dropWorkObject() {
    workObject_ = nullptr;
    ownedWorkObject_.reset();
}

void AppController::setWorkObject(std::unique_ptr<FlowerObjectNode> node) {
    dropWorkObject();
    ownedWorkObject_ = std::move(node);
    workObject_ = ownedWorkObject_.get();
    redrawLibraryView();
    redrawMainView();
    refreshPickBuffers();
}

void AppController::addToLibrary(std::unique_ptr<FlowerObjectNode> node, int category) {
    if (!node)
        return;
    dropWorkObject();
    const int id = node->id;
    if (library_.count(id))
        return;
    workObject_ = node.get();
    library_.emplace(id, std::move(node));
    libraryBrowser().addEntry(id, libraryBrowser().renderThumbnail(), category);
    workObject_ = nullptr;
}

void AppController::addScene(std::unique_ptr<SceneRoot> scene) {
    SceneRoot* stored = sceneFocus_.storeScene(std::move(scene));
    if (!stored)
        return;
    sceneFocus_.openStoredScene(stored);
    libraryBrowser().addEntry(stored->id, libraryBrowser().renderThumbnail(), kCategoryScene);
    sceneFocus_.closeScene();
}

bool AppController::removeObject(int id) {
    if (id == -1)
        return false;
    if (workObject_ && workObject_->id == id) {
        // A work object the library does not hold would be lost once it stops being
        // the work object: it goes with it.
        dropWorkObject();
        mouseListenerManager().switchToMode(kModeComposit);
    }
    bool removed = library_.erase(id) > 0;
    if (!removed)
        removed = sceneFocus_.removeScene(id);
    if (removed)
        libraryBrowser().removeEntry(id);
    return removed;
}

void AppController::storeCurrent() {
    LibraryBrowser& browser = libraryBrowser();
    if (mode == kModeSceneSketch) {
        if (SceneRoot* scene = root()) {
            if (sceneFocus_.scenes().count(scene->id)) {
                browser.replaceThumbnail(scene->id, browser.renderThumbnail());
            } else {
                sceneFocus_.storeRoot();
                browser.setCategory(kCategoryScene);
                browser.addEntry(scene->id, browser.renderThumbnail(), kCategoryScene);
            }
        }
    } else if (isSceneMode(mode)) {
        FlowerObjectNode* current = focus();
        TOGL* context = host_ ? host_->mainContext() : nullptr;
        if (current && current->kind != kKindSketch) {
            const int savedMode = mode;
            CameraPose savedCamera;
            if (context)
                savedCamera = context->camera().pose();
            mode = kModePetal;
            std::unique_ptr<FlowerObjectNode> copy = current->clone();
            const int category = libraryCategoryOf(*copy);
            addToLibrary(std::move(copy), category);
            browser.setCategory(category);
            mode = savedMode;
            if (context)
                context->setCamera(savedCamera.eye, savedCamera.center, savedCamera.up);
        }
    } else if (workObject_) {
        const int id = workObject_->id;
        const int category = libraryCategoryOf(*workObject_);
        if (library_.count(id)) {
            browser.replaceThumbnail(id, browser.renderThumbnail());
            browser.setCategory(category);
        } else if (ownedWorkObject_) {
            library_.emplace(id, std::move(ownedWorkObject_));
            browser.setCategory(category);
            browser.addEntry(id, browser.renderThumbnail(), category);
        }
    }
    redrawMainView();
    redrawLibraryView();
    refreshPickBuffers();
}

void AppController::resetAll() {
    ids_.reset();
    dropWorkObject();
    for (const auto& [id, object] : library_)
        libraryBrowser().removeEntry(id);
    library_.clear();
    libraryBrowser().reset();
    sceneFocus_.clear();
    redrawMainView();
    redrawOverallView();
    redrawLibraryView();
    refreshPickBuffers();
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
