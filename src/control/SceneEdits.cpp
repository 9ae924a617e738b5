#include "control/SceneEdits.h"

#include "control/AppController.h"
#include "control/FloralDiagram.h"
#include "control/LibraryBrowser.h"
#include "control/ModeHost.h"
#include "gl/TOGL.h"
#include "model/FlowerObjectNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"

#include <algorithm>

Vector3 SceneEdits::attachmentOrientation() const {
    TOGL* context = controller_.mainContext();
    if (controller_.settings().zDirection != 1 || !context)
        return Vector3(0.0, 1.0, 0.0);
    Matrix4 parentMatrix;
    controller_.sceneFocus().parentWithMatrix(parentMatrix);
    const Camera& camera = context->camera();
    return unit(inverted(parentMatrix).rotateVector(camera.eye - camera.center));
}

Vector3 SceneEdits::outwardOfFocus() const {
    // Its x axis, or its z axis towards the viewer with "z direction Here".
    const SceneFocusManager& scene = controller_.sceneFocus();
    const bool towardsViewer = controller_.settings().zDirection == 1;
    Matrix4 focusMatrix, parentMatrix;
    scene.focusWithMatrix(focusMatrix);
    scene.parentWithMatrix(parentMatrix);
    const Matrix4 relative = inverted(parentMatrix) * focusMatrix;
    Vector3 outward =
        relative.rotateVector(towardsViewer ? Vector3(0.0, 0.0, 1.0) : Vector3(1.0, 0.0, 0.0));
    const CameraPose home = controller_.homeCamera();
    const Vector3 homeView = inverted(parentMatrix).rotateVector(home.eye - home.center);
    if (towardsViewer && dot(outward, homeView) < 0.0)
        outward = outward * -1.0;
    return unit(outward);
}

bool SceneEdits::canLoadSelectedIntoFocus() const {
    // A plant standing in the scene has no holder on the focus path to take its
    // replacement.
    const SceneFocusManager& scene = controller_.sceneFocus();
    return scene.root() && (!scene.candidateIds().empty() || scene.pathIds().size() >= 2);
}

void SceneEdits::loadSelectedIntoFocus() {
    if (!canLoadSelectedIntoFocus())
        return;
    SceneFocusManager& scene = controller_.sceneFocus();
    const Vector3 orientation = attachmentOrientation();
    if (!scene.candidateIds().empty()) {
        scene.applyToCandidates(*libraryBrowser().copySelected(), orientation, controller_.ids());
        controller_.noteChange(kChangeScene, "Replace candidates");
    } else {
        const Vector3 outward = outwardOfFocus();
        const int replacement = scene.replaceFocus(libraryBrowser().copySelected(), orientation,
                                                   outward, controller_.ids());
        if (replacement != -1) {
            controller_.focusDown(replacement, false);
            controller_.noteChange(kChangeScene, "Replace focus");
        }
    }
    scene.clearCandidates();
    controller_.noteChange(kChangeMainView);
}

bool SceneEdits::focusTakesPetal() const {
    const FlowerObjectNode* current = controller_.focus();
    return current && (current->kind == kKindComposite || current->kind == kKindTorus);
}

void SceneEdits::startPetalOnFocus() {
    if (focusTakesPetal()) {
        controller_.switchToMode(kModeScenePetal);
        controller_.settings().drawingTool = kToolPen;
    }
    preparePetal(false);
    controller_.noteChange(kChangeMainView);
}

FlowerObjectNode* SceneEdits::focusedSketch() const {
    FlowerObjectNode* current = controller_.root() ? controller_.focus() : nullptr;
    return current && current->kind == kKindSketch ? current : nullptr;
}

bool SceneEdits::putInSketchPlace(std::unique_ptr<FlowerObjectNode> organ) {
    const int id = controller_.sceneFocus().replaceFocus(std::move(organ), {0.0, 0.0, 1.0},
                                                         {0.0, 0.0, 1.0}, controller_.ids());
    if (id == -1)
        return false;
    controller_.focusDown(id, false);
    return true;
}

bool SceneEdits::sketchReplaceableBy(int kind) const {
    const FlowerObjectNode* sketch = focusedSketch();
    if (!sketch)
        return false;
    if (kind == kKindPetal)
        return true;
    Matrix4 unused;
    const FlowerObjectNode* holder = controller_.sceneFocus().parentWithMatrix(unused);
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

void SceneEdits::replaceSketchWithStamen() {
    if (sketchReplaceableBy(kKindStamen)) {
        const auto& stroke = focusedSketch()->mainAxis;
        if (putInSketchPlace(std::make_unique<FlowerStamenNode>(controller_.nextId(), stroke,
                                                                controller_.settings().parameters)))
            controller_.noteChange(kChangeScene, "Replace sketch with stamen");
    }
    controller_.noteChange(kChangeMainView | kChangeLibraryView);
}

void SceneEdits::replaceSketchWithStem() {
    if (sketchReplaceableBy(kKindStem)) {
        const auto& stroke = focusedSketch()->mainAxis;
        if (putInSketchPlace(std::make_unique<FlowerStemNode>(controller_.nextId(), stroke,
                                                              controller_.settings().parameters)))
            controller_.noteChange(kChangeScene, "Replace sketch with stem");
    }
    forgetSceneInteraction();
    controller_.noteChange(kChangeMainView);
}

void SceneEdits::replaceSketchWithFlower() {
    if (sketchReplaceableBy(kKindTorus)) {
        const FlowerObjectNode* sketch = focusedSketch();
        auto flower = std::make_unique<FlowerTorusNode>(
            controller_.nextId(), controller_.settings().parameters.receptacle);
        FloralDiagram& diagram = floralDiagram();
        diagram.bindNewFlower(flower.get());
        diagram.unbind();
        // As long as the sketch from end to end.
        const double own = flower->mainAxis.length();
        if (own > 0.0)
            flower->scale(distance(sketch->mainAxis.front(), sketch->mainAxis.back()) / own);
        if (putInSketchPlace(std::move(flower)))
            controller_.noteChange(kChangeScene, "Replace sketch with flower");
    }
    forgetSceneInteraction();
    controller_.noteChange(kChangeMainView | kChangeLibraryView);
}

void SceneEdits::replaceSketchWithPetal() {
    if (FlowerObjectNode* sketch = focusedSketch()) {
        controller_.switchToMode(kModeScenePetal);
        controller_.settings().drawingTool = kToolPen;
        Stroke midrib;
        Stroke::resample(std::max(controller_.settings().parameters.petal.vertical, 10) - 1,
                         sketch->mainAxis, midrib);
        sketch->reshapeByStroke(midrib);
        controller_.noteChange(kChangeScene, "Resample sketch");
    }
    preparePetal(true);
    controller_.noteChange(kChangeMainView);
}

void SceneEdits::forgetSceneInteraction() const {
    if (ModeHost* modes = controller_.modeHost())
        modes->forgetSceneInteraction();
}

void SceneEdits::preparePetal(bool fromSketch) const {
    if (ModeHost* modes = controller_.modeHost())
        modes->preparePetal(fromSketch);
}
