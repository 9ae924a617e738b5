#include "control/SceneFocusManager.h"

#include "interaction/OpenGL.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

// A part found below a path element: the part, the object that holds it and the
// part's model matrix in the scene.
struct PartLookup {
    FlowerObjectNode* node = nullptr;
    FlowerObjectNode* holder = nullptr;
    Matrix4 matrix;
};

std::optional<PartLookup> findInScene(const SceneRoot& scene, int id) {
    const SceneLookup found = scene.findInScene(id);
    if (!found.found)
        return std::nullopt;
    return PartLookup{found.object, found.holder, found.matrix};
}

// The part with this id below `element` (whose model matrix is `matrix`): a part
// of a composite, or an organ of a receptacle. An organ somewhere below a composite
// names the receptacle that holds it: that is the composite's part.
std::optional<PartLookup> findPart(FlowerObjectNode& element, const Matrix4& matrix, int id) {
    if (FlowerObjectComposite* composite = asComposite(&element)) {
        CompositeLookup found = composite->findChild(id);
        if (!found.found)
            if (const FlowerTorusNode* receptacle =
                    SceneFocusManager::receptacleHolding(*composite, id))
                found = composite->findChild(receptacle->id);
        if (found.found)
            return PartLookup{found.object, found.holder, matrix * found.matrix};
        return std::nullopt;
    }
    if (auto* receptacle = dynamic_cast<FlowerTorusNode*>(&element)) {
        const OrganLookup found = receptacle->findOrgan(id);
        if (found.found)
            return PartLookup{found.organ, found.holder, matrix * found.matrix};
    }
    return std::nullopt;
}

// The wrapper a replacement makes: a composite along a copy of `axis` holding the
// object as its single segment.
std::unique_ptr<FlowerObjectComposite> wrapped(std::unique_ptr<FlowerObjectNode> object,
                                               const Stroke& axis, IdCounter& ids) {
    auto wrapper = std::make_unique<FlowerObjectComposite>(ids.nextId());
    wrapper->appendAlongAxis(std::move(object), axis, Vector3(0.0, 0.0, 1.0));
    return wrapper;
}

// Puts `node` in the place of `holder`'s branch or segment with this id.
bool replacePart(FlowerObjectComposite& holder, int id, std::unique_ptr<FlowerObjectNode> node,
                 const Vector3& orientation) {
    if (holder.findBranch(id)) {
        if (!asComposite(node.get()))
            return false;
        holder.replaceBranch(id, asComposite(std::move(node)), orientation);
        return true;
    }
    return holder.replaceSegment(id, std::move(node), orientation);
}

bool isWrapper(const FlowerObjectNode& node) {
    const FlowerObjectComposite* composite = asComposite(&node);
    return composite && composite->branches.empty() && composite->segments.size() == 1;
}

} // namespace

FlowerTorusNode* SceneFocusManager::receptacleHolding(FlowerObjectComposite& composite,
                                                      int organId) {
    for (auto& segment : composite.segments) {
        if (auto* receptacle = dynamic_cast<FlowerTorusNode*>(segment.node.get()))
            if (receptacle->findOrgan(organId).found)
                return receptacle;
        if (FlowerObjectComposite* inner = asComposite(segment.node.get()))
            if (FlowerTorusNode* found = receptacleHolding(*inner, organId))
                return found;
    }
    for (auto& branch : composite.branches)
        if (FlowerTorusNode* found = receptacleHolding(*branch.composite, organId))
            return found;
    return nullptr;
}

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

std::vector<FocusLink> SceneFocusManager::path() const {
    std::vector<FocusLink> links;
    const SceneRoot* open = root();
    if (!open)
        return links;
    for (int id : pathIds_) {
        const std::optional<PartLookup> part =
            links.empty() ? findInScene(*open, id)
                          : findPart(*links.back().node, links.back().matrix, id);
        if (!part)
            break;
        links.push_back({part->node, part->matrix});
    }
    return links;
}

std::vector<FocusLink> SceneFocusManager::candidates() const {
    std::vector<FocusLink> found;
    Matrix4 matrix;
    FlowerObjectNode* current = focusWithMatrix(matrix);
    if (!asComposite(current))
        return found;
    for (int id : candidateIds_)
        if (const std::optional<PartLookup> part = findPart(*current, matrix, id))
            found.push_back({part->node, part->matrix});
    return found;
}

FlowerObjectNode* SceneFocusManager::focus() const {
    Matrix4 unused;
    return focusWithMatrix(unused);
}

FlowerObjectNode* SceneFocusManager::focusWithMatrix(Matrix4& matrix) const {
    const std::vector<FocusLink> links = path();
    if (links.empty())
        return nullptr;
    matrix = links.back().matrix;
    return links.back().node;
}

FlowerObjectNode* SceneFocusManager::parentWithMatrix(Matrix4& matrix) const {
    const std::vector<FocusLink> links = path();
    if (links.empty())
        return nullptr;
    if (links.size() == 1) {
        matrix.setIdentity();
        return nullptr;
    }
    matrix = links[links.size() - 2].matrix;
    return links[links.size() - 2].node;
}

void SceneFocusManager::setFocusIds(std::vector<int> pathIds, std::vector<int> candidateIds) {
    pathIds_ = std::move(pathIds);
    candidateIds_ = std::move(candidateIds);
    prune();
}

bool SceneFocusManager::prune() {
    const size_t before = pathIds_.size();
    pathIds_.resize(path().size());
    std::vector<int> kept;
    Matrix4 matrix;
    if (FlowerObjectNode* current = focusWithMatrix(matrix); asComposite(current))
        for (int id : candidateIds_)
            if (findPart(*current, matrix, id))
                kept.push_back(id);
    candidateIds_ = std::move(kept);
    return pathIds_.size() < before;
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
    pathIds_.clear();
}

void SceneFocusManager::clearCandidates() {
    candidateIds_.clear();
}

bool SceneFocusManager::ascend() {
    clearCandidates();
    prune();
    if (!root() || pathIds_.empty())
        return false;
    pathIds_.pop_back();
    return true;
}

FlowerObjectNode* SceneFocusManager::descend(int id) {
    clearCandidates();
    prune();
    const SceneRoot* open = root();
    if (!open || id <= 0)
        return nullptr;
    const std::vector<FocusLink> links = path();
    FlowerObjectNode* child = nullptr;
    if (links.empty()) {
        // From the whole scene the way leads into the plant that holds the part.
        const SceneLookup found = open->findInScene(id);
        child = found.found ? found.plant : nullptr;
        for (const auto& plant : open->plants)
            if (!child && receptacleHolding(*plant.composite, id))
                child = plant.composite.get();
    } else if (const std::optional<PartLookup> part =
                   findPart(*links.back().node, links.back().matrix, id)) {
        child = part->node;
    }
    if (!child)
        return nullptr;
    pathIds_.push_back(child->id);
    if (isWrapper(*child)) {
        child = asComposite(child)->segments.front().node.get();
        pathIds_.push_back(child->id);
    }
    return child;
}

const FlowerObjectComposite* SceneFocusManager::branchAt(int id) const {
    const FlowerObjectComposite* current = asComposite(focus());
    if (id <= 0 || !current)
        return nullptr;
    const CompositeLookup part = current->findChild(id);
    if (!part.found)
        return nullptr;
    if (const FlowerObjectComposite* composite = asComposite(part.object))
        return composite;
    return part.holder == current ? nullptr : part.holder;
}

bool SceneFocusManager::selectSimilar(int id) {
    clearCandidates();
    const FlowerObjectComposite* current = asComposite(focus());
    const FlowerObjectComposite* model = branchAt(id);
    if (!model)
        return false;
    for (const auto& branch : current->branches)
        if (branch.composite->sameStructure(*model))
            candidateIds_.push_back(branch.composite->id);
    return !candidateIds_.empty();
}

bool SceneFocusManager::addCandidate(int id) {
    const FlowerObjectComposite* branch = branchAt(id);
    if (!branch ||
        std::find(candidateIds_.begin(), candidateIds_.end(), branch->id) != candidateIds_.end())
        return false;
    candidateIds_.push_back(branch->id);
    return true;
}

int SceneFocusManager::replaceFocus(std::unique_ptr<FlowerObjectNode> replacement,
                                    const Vector3& orientation, const Vector3& outward,
                                    IdCounter& ids) {
    const std::vector<FocusLink> links = path();
    if (!replacement || links.size() < 2)
        return -1;
    FlowerObjectNode& old = *links.back().node;
    FlowerObjectNode& parent = *links[links.size() - 2].node;
    const std::optional<PartLookup> place = findPart(parent, Matrix4(), old.id);
    if (!place)
        return -1;
    int newId = replacement->id;
    bool replaced = false;
    if (FlowerObjectComposite* holder = asComposite(place->holder)) {
        if (asComposite(&old)) {
            if (!asComposite(replacement.get())) {
                replacement = wrapped(std::move(replacement), old.mainAxis, ids);
                newId = replacement->id;
            }
            replaced = replacePart(*holder, old.id, std::move(replacement), orientation);
        } else {
            replaced = holder->replaceSegment(old.id, std::move(replacement), outward);
        }
    } else if (auto* receptacle = dynamic_cast<FlowerTorusNode*>(place->holder)) {
        replaced = receptacle->replaceOrgan(old.id, std::move(replacement), outward);
    }
    if (!replaced)
        return -1;
    pathIds_.resize(links.size() - 1);
    return newId;
}

void SceneFocusManager::applyToCandidates(const FlowerObjectNode& model, const Vector3& orientation,
                                          IdCounter& ids) {
    Matrix4 matrix;
    FlowerObjectNode* current = focusWithMatrix(matrix);
    if (!asComposite(current))
        return;
    const FlowerObjectComposite* likeModel = asComposite(&model);
    for (int id : std::vector<int>(candidateIds_)) {
        const std::optional<PartLookup> part = findPart(*current, Matrix4(), id);
        FlowerObjectComposite* holder = part ? asComposite(part->holder) : nullptr;
        const FlowerObjectComposite* candidate = part ? asComposite(part->node) : nullptr;
        if (!holder || !candidate)
            continue;
        if (likeModel && holder->findBranch(id) &&
            likeModel->branches.size() == candidate->branches.size() &&
            likeModel->segments.size() == candidate->segments.size()) {
            holder->replaceLike(id, *likeModel, orientation, ids);
        } else {
            replacePart(*holder, id, wrapped(model.clone(ids), candidate->mainAxis, ids),
                        orientation);
        }
    }
    clearCandidates();
}

void SceneFocusManager::drawScene(const DrawContext& draw, bool showControlPoints,
                                  bool showWireFrame) const {
    SceneRoot* open = root();
    if (!open)
        return;
    const auto drawInFull = [&](SceneNode& node) {
        if (showControlPoints)
            node.drawControlPoints(draw);
        if (showWireFrame)
            node.drawWireframe(draw);
        else
            node.drawSolid(draw);
    };
    const std::vector<FocusLink> links = path();
    if (links.empty()) {
        glPushMatrix();
        drawInFull(*open);
        glPopMatrix();
        return;
    }
    // The context: the whole scene around a plant in focus, else only the plant
    // that holds the focus.
    glPushMatrix();
    if (links.size() == 1) {
        open->drawTranslucent(draw);
    } else {
        const SceneLookup first = open->findInScene(links.front().node->id);
        glMultMatrixd(open->findInScene(first.plant->id).matrix.data());
        first.plant->drawTranslucent(draw);
    }
    glPopMatrix();
    glPushMatrix();
    glMultMatrixd(links.back().matrix.data());
    drawInFull(*links.back().node);
    links.back().node->drawOverlay(draw);
    glPopMatrix();
    for (const FocusLink& candidate : candidates()) {
        glPushMatrix();
        glMultMatrixd(candidate.matrix.data());
        asComposite(candidate.node)->drawHighlightBox(draw);
        glPopMatrix();
    }
}

std::vector<GroundShadow> SceneFocusManager::groundShadows(const DrawContext& draw) const {
    const SceneRoot* open = root();
    if (!open)
        return {};
    const std::vector<FocusLink> links = path();
    if (links.size() <= 1)
        return shadowsOf(*open, draw);
    const SceneLookup holder = open->findInScene(open->findInScene(links.front().node->id).plant->id);
    return {shadowOf(*holder.object, holder.matrix, draw)};
}

CameraPose SceneFocusManager::framingCamera(const FlowerObjectNode& node, const Matrix4& matrix) {
    Vector3 middle;
    if (!node.mainAxis.empty())
        middle = (node.mainAxis.front() + node.mainAxis.back()) * 0.5;
    const double distance = std::max(middle.length() / std::tan(std::numbers::pi / 8.0) + 0.3, 0.5);
    const Vector3 origin = transformPoint(matrix, Vector3());
    return {transformPoint(matrix, Vector3(middle.x, middle.y, distance)),
            transformPoint(matrix, Vector3(middle.x, middle.y, 0.0)),
            transformPoint(matrix, Vector3(0.0, 1.0, 0.0)) - origin};
}
