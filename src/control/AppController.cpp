#include "control/AppController.h"

#include "control/FloralDiagram.h"
#include "control/LibraryBrowser.h"
#include "control/ModeHost.h"
#include "control/Singleton.h"
#include "gl/Background.h"
#include "gl/GroundShadows.h"
#include "gl/TOGL.h"
#include "interaction/FrameLights.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"

#include <algorithm>

AppController::AppController()
    : publisher_([this](const DrawContext& draw) { drawMainView(draw); },
                 [this] { return drawRecords(); }),
      history_(objects_, sceneFocus_), sceneEdits_(*this),
      flight_([this] { commit(kChangeMainView); }) {}

AppController::~AppController() {
    sceneFocus_.clear();
    objects_.clear();
}

ReadContext AppController::readContext(std::string libraryFolder) {
    return {ids_, settings_.parameters, textures_, std::move(libraryFolder)};
}

WriteContext AppController::writeContext(std::string libraryFolder) const {
    return {textures_, std::move(libraryFolder)};
}

void AppController::installTextures(TextureCache* textures) {
    textures_ = textures;
}

void AppController::setViewHost(ViewHost* host) {
    flight_.stop();
    publisher_.setViewHost(host);
}

void AppController::switchToMode(int mode) {
    if (!isValidMode(mode))
        return;
    mode_ = mode;
    if (modeHost_)
        modeHost_->activateMode(mode);
    noteChange(kChangeMainView);
}

void AppController::openScene(std::unique_ptr<SceneRoot> scene) {
    sceneFocus_.openScene(std::move(scene));
    settings_.drawingTool = kToolCursor;
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

void AppController::settleFocusMove(bool animate, const CameraPose& target) {
    settings_.drawingTool = kToolCursor;
    if (animate)
        flight_.start(viewHost(), target);
    noteChange(kChangeMainView | kChangeLibraryView);
}

void AppController::focusToRoot(bool animate) {
    sceneFocus_.clearCandidates();
    if (!root())
        return;
    sceneFocus_.clearPath();
    switchToFocusMode();
    settleFocusMove(animate, homeCamera());
}

void AppController::focusUp(bool animate) {
    if (!sceneFocus_.ascend())
        return;
    switchToFocusMode();
    Matrix4 matrix;
    const FlowerObjectNode* current = sceneFocus_.focusWithMatrix(matrix);
    settleFocusMove(animate,
                    current ? SceneFocusManager::framingCamera(*current, matrix) : homeCamera());
}

void AppController::focusDown(int id, bool animate) {
    if (!sceneFocus_.descend(id))
        return;
    switchToFocusMode();
    Matrix4 matrix;
    const FlowerObjectNode* current = sceneFocus_.focusWithMatrix(matrix);
    settleFocusMove(animate && current,
                    current ? SceneFocusManager::framingCamera(*current, matrix) : homeCamera());
}

bool AppController::selectSimilar(int id) {
    noteChange(kChangeMainView);
    return sceneFocus_.selectSimilar(id);
}

bool AppController::addCandidate(int id) {
    noteChange(kChangeMainView);
    return sceneFocus_.addCandidate(id);
}

CameraPose AppController::homeCamera() const {
    const TOGL* context = mainContext();
    return context ? context->camera().home : kMainViewHomeCamera;
}

void AppController::landCameraFlight() {
    if (flight_.land())
        noteChange(kChangeMainView);
}

FlowerObjectNode* AppController::targetObject() const {
    return isSceneMode(mode_) ? focus() : workObject();
}

unsigned AppController::targetChange() const {
    return isSceneMode(mode_) ? kChangeScene : kChangeWorkObject;
}

void AppController::enterCreationMode(int creationMode) {
    if (TOGL* context = mainContext())
        context->resetCamera();
    setWorkObject(nullptr);
    switchToMode(creationMode);
    noteChange(0, "Start new object");
}

void AppController::createScene() {
    openScene(std::make_unique<SceneRoot>(nextId()));
    settings_.drawingTool = kToolPen;
    switchToMode(kModeSceneSketch);
    noteChange(kChangeLibraryView);
}

void AppController::createFlower() {
    enterCreationMode(kModeTorusModify);
    auto flower = std::make_unique<FlowerTorusNode>(nextId(), settings_.parameters.receptacle);
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
    records.display = settings_.display;
    records.textures = textures_;
    records.slotSelection = &floralDiagram().selection();
    records.fullDetail = settings_.fullDetail;
    records.modelVersion = modelVersion_;
    records.bloom = bloomMoment();
    return records;
}

void AppController::showBloomAt(double time) {
    settings_.bloom.time = std::clamp(time, 0.0, 1.0);
    redrawMainView();
}

BloomTime AppController::bloomMoment() const {
    const BloomSettings& bloom = settings_.bloom;
    if (bloom.editable())
        return {};
    const SceneNode* shown = isSceneMode(mode_) ? static_cast<const SceneNode*>(root())
                                                : workObject();
    // Gathered again only when the model, what is shown or the direction changed: an
    // orbit around the bloom redraws with the order it had.
    const OpeningOrderSource source{modelVersion_, shown, bloom.topFirst};
    if (source != openingOrderSource_) {
        openingOrderSource_ = source;
        openingOrder_ = AxisOpeningOrder();
        if (shown)
            openingOrder_.addPlantsOf(*shown, bloom.topFirst);
    }
    return {bloom.time, &openingOrder_};
}

void AppController::drawStage(const DrawContext& draw,
                              const std::function<std::vector<GroundShadow>()>& shadows) const {
    if (draw.snapshot)
        return;
    drawBackground(draw);
    if (settings_.showFloor)
        drawGround(draw, shadows());
}

void AppController::drawMainView(const DrawContext& draw) {
    FlowerObjectNode* work = workObject();
    const bool scene = isSceneMode(mode_);
    drawStage(draw, [&]() -> std::vector<GroundShadow> {
        if (scene)
            return sceneFocus_.groundShadows(draw);
        if (work)
            return {shadowOf(*work, Matrix4(), draw)};
        return {};
    });
    placeFrameLights();
    if (scene) {
        sceneFocus_.drawScene(draw, settings_.showControlPoints, settings_.showWireFrame);
        return;
    }
    if (!work)
        return;
    if (settings_.showControlPoints)
        work->drawControlPoints(draw);
    if (settings_.showWireFrame)
        work->drawWireframe(draw);
    else
        work->drawSolid(draw);
}

void AppController::drawOverall(const DrawContext& draw) {
    const bool sceneShown = isSceneMode(mode_) && root();
    // The floor shows where the scene stands, and that the window is alive while no
    // scene is open.
    drawStage(draw, [&]() -> std::vector<GroundShadow> {
        if (sceneShown)
            return shadowsOf(*root(), draw);
        return {};
    });
    placeFrameLights();
    if (!sceneShown)
        return;
    glPushMatrix();
    root()->drawSolid(draw);
    glPopMatrix();
}

void AppController::setWorkObject(std::unique_ptr<FlowerObjectNode> node) {
    // No work object replacing none changes nothing that undo would give back.
    if (!node && !workObject())
        return;
    objects_.setWorkObject(std::move(node));
    noteChange(kChangeWorkObject | kChangeLibraryView);
}

void AppController::addToLibrary(std::unique_ptr<FlowerObjectNode> node, int category) {
    if (!node)
        return;
    objects_.dropWorkObject();
    FlowerObjectNode& added = *node;
    if (!objects_.add(std::move(node)))
        return;
    libraryBrowser().addEntry(added.id, publisher_.thumbnailOf(added), category);
    noteChange(kChangeLibrary);
}

void AppController::addScene(std::unique_ptr<SceneRoot> scene) {
    SceneRoot* stored = sceneFocus_.storeScene(std::move(scene));
    if (!stored)
        return;
    libraryBrowser().addEntry(stored->id, publisher_.thumbnailOf(*stored), kCategoryScene);
    sceneFocus_.closeScene();
    noteChange(kChangeLibrary | kChangeScene);
}

bool AppController::removeObject(int id) {
    if (id == -1)
        return false;
    if (FlowerObjectNode* work = workObject(); work && work->id == id) {
        // A work object the library does not hold would be lost once it stops being
        // the work object: it goes with it.
        objects_.dropWorkObject();
        switchToMode(kModeComposite);
        noteChange(kChangeWorkObject);
    }
    floralDiagram().unbindIf(id);
    const bool removed = objects_.remove(id) || sceneFocus_.removeScene(id);
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
        if (sceneFocus_.storeRoot()) {
            browser.setCategory(kCategoryScene);
            browser.addEntry(scene->id, QImage(), kCategoryScene);
        }
        browser.replaceThumbnail(scene->id, publisher_.thumbnailOf(*scene));
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
    const int id = workObject()->id;
    const int category = libraryCategoryOf(*workObject());
    if (objects_.storeWorkObject())
        browser.addEntry(id, QImage(), category);
    FlowerObjectNode* work = workObject();
    browser.replaceThumbnail(id, publisher_.thumbnailOf(*work));
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
    objects_.clear();
    libraryBrowser().reset();
    sceneFocus_.clear();
    history_.restart();
    noteChange(kChangeWorkObject | kChangeScene | kChangeLibrary);
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
    CommitPublisher::Pending pending = publisher_.take();
    if (pending.changes == 0)
        return;
    ++modelVersion_;
    if (pending.changes & kModelChanges) {
        std::set<int> renewed = pending.editedIds;
        if (pending.changes & kChangeWorkObject)
            if (const FlowerObjectNode* work = workObject())
                renewed.insert(work->id);
        publisher_.renewThumbnails(renewed, objects_);
        history_.record(pending.changes, pending.editedIds, std::move(pending.step), pending.joining,
                        mode_, writeContext());
    }
    publisher_.publish(withOverallShown(pending.changes));
}

unsigned AppController::withOverallShown(unsigned changes) {
    if (isSceneMode(mode_) == overallShowsScene_)
        return changes;
    overallShowsScene_ = isSceneMode(mode_);
    return changes | kChangeOverallView;
}

// A restored scene that is still the live object was left alone by the step; one
// rebuilt (with its untouched plants carried over) is a new object.
bool AppController::undo() {
    const SceneRoot* shown = root();
    const ModelSnapshot* state = history_.undo(readContext());
    if (state)
        returnTo(*state, root() != shown);
    return state != nullptr;
}

bool AppController::redo() {
    const SceneRoot* shown = root();
    const ModelSnapshot* state = history_.redo(readContext());
    if (state)
        returnTo(*state, root() != shown);
    return state != nullptr;
}

void AppController::returnTo(const ModelSnapshot& state, bool sceneRestored) {
    if (modeHost_)
        modeHost_->forgetSceneInteraction();
    libraryBrowser().restoreTiles(state.tiles);
    switchToMode(state.mode);
    FloralDiagram& diagram = floralDiagram();
    diagram.unbind();
    if (auto* receptacle = dynamic_cast<FlowerTorusNode*>(findObject(state.diagramReceptacleId)))
        diagram.bind(receptacle);
    // The focus may have returned to another level than the one the state was left
    // at: its mode follows it.
    if (isSceneMode(mode_) && root() && !sceneFocus_.pathIds().empty())
        switchToFocusMode();
    // The restored state is the history's own: nothing to record.
    publisher_.discard();
    const unsigned restored = kChangeWorkObject | kChangeLibrary | kChangeMainView |
                              kChangeLibraryView | (sceneRestored ? kChangeScene : 0u);
    ++modelVersion_;
    publisher_.publish(withOverallShown(restored));
}

AppController& appController() {
    return singleton<AppController>();
}
