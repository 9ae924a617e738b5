#include "app/SceneFocusManager.h"

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
    if (root_ && root_->id == id)
        return root_;
    return nullptr;
}

FlowerObjectNode* SceneFocusManager::focus() const {
    if (!root_ || path_.empty())
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
    if (!root_ || path_.empty())
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
    ownedRoot_ = std::move(scene);
    root_ = ownedRoot_.get();
}

void SceneFocusManager::openStoredScene(SceneRoot* scene) {
    closeScene();
    root_ = scene;
}

void SceneFocusManager::closeScene() {
    clearPath();
    clearCandidates();
    root_ = nullptr;
    ownedRoot_.reset();
}

bool SceneFocusManager::storeRoot() {
    if (!root_ || !ownedRoot_ || scenes_.count(root_->id))
        return false;
    scenes_.emplace(root_->id, std::move(ownedRoot_));
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
    if (root_ && root_->id == id) {
        removed = ownedRoot_ != nullptr;
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

void SceneFocusManager::clearPath() {
    path_.clear();
    pathMatrices_.clear();
}

void SceneFocusManager::clearCandidates() {
    candidates_.clear();
    candidateMatrices_.clear();
}

void SceneFocusManager::drawScene(bool showControlPoints, bool showWireFrame) const {
    if (!root_)
        return;
    glPushMatrix();
    if (showControlPoints)
        root_->drawControlPoints();
    if (showWireFrame)
        root_->drawWireframe();
    else
        root_->drawSolid();
    glPopMatrix();
}
