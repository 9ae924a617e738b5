#include "control/SceneFocusManager.h"

#include "interaction/OpenGL.h"
#include "model/SceneRoot.h"

SceneFocusManager::~SceneFocusManager() {
    clear();
}

SceneRoot* SceneFocusManager::findSceneObject(int id) const {
    if (id == -1)
        return nullptr;
    if (auto it = scenes_.find(id); it != scenes_.end())
        return it->second.get();
    if (unstoredRoot_ && unstoredRoot_->id == id)
        return unstoredRoot_.get();
    return nullptr;
}

SceneRoot* SceneFocusManager::root() const {
    if (unstoredRoot_)
        return unstoredRoot_.get();
    auto it = scenes_.find(rootId_);
    return it == scenes_.end() ? nullptr : it->second.get();
}

FlowerObjectNode* SceneFocusManager::focus() const {
    if (!root() || path_.empty())
        return nullptr;
    return path_.back();
}

FlowerObjectNode* SceneFocusManager::focusWithMatrix(Matrix4& matrix) const {
    FlowerObjectNode* node = focus();
    if (node)
        matrix = pathMatrices_.back();
    return node;
}

FlowerObjectNode* SceneFocusManager::parentWithMatrix(Matrix4& matrix) const {
    if (!root() || path_.empty())
        return nullptr;
    if (path_.size() == 1) {
        matrix.setIdentity();
        return nullptr;
    }
    matrix = pathMatrices_[path_.size() - 2];
    return path_[path_.size() - 2];
}

void SceneFocusManager::openScene(std::unique_ptr<SceneRoot> scene) {
    closeScene();
    unstoredRoot_ = std::move(scene);
}

void SceneFocusManager::openStoredScene(int id) {
    closeScene();
    if (scenes_.count(id))
        rootId_ = id;
}

void SceneFocusManager::closeScene() {
    clearPath();
    clearCandidates();
    rootId_ = -1;
    unstoredRoot_.reset();
}

bool SceneFocusManager::storeRoot() {
    if (!unstoredRoot_ || scenes_.count(unstoredRoot_->id))
        return false;
    rootId_ = unstoredRoot_->id;
    scenes_.emplace(rootId_, std::move(unstoredRoot_));
    return true;
}

SceneRoot* SceneFocusManager::storeScene(std::unique_ptr<SceneRoot> scene) {
    if (!scene || scenes_.count(scene->id))
        return nullptr;
    SceneRoot* stored = scene.get();
    scenes_.emplace(stored->id, std::move(scene));
    return stored;
}

bool SceneFocusManager::removeScene(int id) {
    if (id == -1)
        return false;
    bool removed = false;
    if (SceneRoot* open = root(); open && open->id == id) {
        removed = unstoredRoot_ != nullptr;
        closeScene();
    }
    if (scenes_.erase(id) > 0)
        removed = true;
    return removed;
}

void SceneFocusManager::clear() {
    closeScene();
    scenes_.clear();
}

int SceneFocusManager::openSceneId() const {
    const SceneRoot* open = root();
    return open ? open->id : -1;
}

std::map<int, std::unique_ptr<SceneRoot>> SceneFocusManager::takeScenes() {
    clearPath();
    clearCandidates();
    std::map<int, std::unique_ptr<SceneRoot>> taken = std::move(scenes_);
    scenes_.clear();
    return taken;
}

std::unique_ptr<SceneRoot> SceneFocusManager::takeUnstoredRoot() {
    clearPath();
    clearCandidates();
    return std::move(unstoredRoot_);
}

void SceneFocusManager::restore(std::map<int, std::unique_ptr<SceneRoot>> scenes, int openSceneId,
                                std::unique_ptr<SceneRoot> unstoredRoot) {
    closeScene();
    scenes_ = std::move(scenes);
    unstoredRoot_ = std::move(unstoredRoot);
    rootId_ = unstoredRoot_ ? -1 : openSceneId;
}

void SceneFocusManager::clearPath() {
    path_.clear();
    pathMatrices_.clear();
}

void SceneFocusManager::clearCandidates() {
    candidates_.clear();
    candidateMatrices_.clear();
}

void SceneFocusManager::drawScene(bool showControlPoints, bool showWireFrame) const {
    SceneRoot* open = root();
    if (!open)
        return;
    glPushMatrix();
    if (showControlPoints)
        open->drawControlPoints();
    if (showWireFrame)
        open->drawWireframe();
    else
        open->drawSolid();
    glPopMatrix();
}
