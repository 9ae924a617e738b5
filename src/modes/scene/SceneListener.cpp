#include "modes/scene/SceneListener.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "modes/ControlPointDrag.h"
#include "organs/FlowerSketchNode.h"
#include "organs/FlowerTorusNode.h"

namespace {

// Whether the object with this id lies below the object `within`.
bool isBelow(const FlowerObjectNode& within, int id) {
    if (const FlowerObjectComposite* composite = asComposite(&within))
        return composite->findChild(id).found ||
               SceneFocusManager::receptacleHolding(const_cast<FlowerObjectComposite&>(*composite),
                                                    id);
    if (auto* receptacle = dynamic_cast<const FlowerTorusNode*>(&within))
        return const_cast<FlowerTorusNode*>(receptacle)->findOrgan(id).found;
    return false;
}

} // namespace

void SceneListener::onRButtonDown(int x, int y) {
    rightPressed_ = true;
    rightX_ = x;
    rightY_ = y;
    CameraButtonListener::onRButtonDown(x, y);
}

void SceneListener::onRButtonUp(int x, int y) {
    rightPressed_ = false;
    CameraButtonListener::onRButtonUp(x, y);
}

void SceneListener::onMouseMove(int x, int y) {
    if (!leftDown)
        dragCameraWithButtons(x, y);
    else if (tool_ == kToolBrowsing)
        dragCamera(x, y);
    else if (!dragLeft(x, y))
        extendOnPlane(x, y);
}

bool SceneListener::takeRelease() {
    if (!leftDown)
        return false;
    leftDown = false;
    if (tool_ == kToolBrowsing)
        if (TOGL* context = mainContext())
            context->endDrag();
    return true;
}

void SceneListener::endRelease() {
    pointOwnerId_ = -1;
    stroke_.clear();
    drawing_ = false;
    turned_ = false;
    noteChange(kChangeMainView);
}

void SceneListener::onDraw(const DrawContext& draw) {
    stroke_.drawSketch();
    // While billboards are hidden, the one being drawn still shows.
    AppController& c = appController();
    if (BillboardSketching::isTool(c.settings().drawingTool) && !c.settings().display.showBillboard)
        if (SceneRoot* scene = c.root())
            billboard_.drawEdited(*scene, draw);
}

void SceneListener::startBillboard(SceneRoot& scene, int x, int y, int withinId) {
    const TOGL* context = mainContext();
    Vector3 first;
    if (!context ||
        !billboard_.startStroke(scene, *context, x, y, withinId, planePoint_, planeNormal_, first))
        return;
    drawing_ = true;
    startStroke(stroke_, first);
}

void SceneListener::finishBillboard(SceneRoot& scene, int x, int y, int withinId) {
    const PickRecord pick = clicked(x, y) ? pickAt(x, y) : PickRecord{-1};
    if (const std::string step =
            billboard_.release(scene, stroke_, tool_, drawing_, clicked(x, y), pick, withinId);
        !step.empty())
        noteChange(kChangeScene, step);
}

bool SceneListener::pickFocusPoint(int focusId, int x, int y) {
    const auto picked = controlPointUnder(x, y);
    if (!picked || picked->objectId != focusId)
        return false;
    pointOwnerId_ = focusId;
    pointRow_ = picked->row;
    pointColumn_ = picked->column;
    pointDepth_ = picked->depth;
    return true;
}

bool SceneListener::dragFocusPoint(int x, int y) {
    Matrix4 matrix;
    FlowerObjectNode* focus = appController().sceneFocus().focusWithMatrix(matrix);
    const TOGL* context = mainContext();
    if (!focus || focus->id != pointOwnerId_ || !context)
        return false;
    focus->editByPick(pointRow_, pointColumn_,
                      transformPoint(inverted(matrix), context->unprojectPixel(x, y, pointDepth_)),
                      appController().settings().parameters);
    turned_ = true;
    return true;
}

void SceneListener::flyUpOverEmpty(int x, int y) {
    resetTransientState();
    if (pickAt(x, y).id <= 0)
        appController().focusUp(true);
    noteChange(kChangeMainView);
}

void SceneListener::moveFocusByDoubleClick(int x, int y, bool animateUp) {
    // The release that ends the double click reaches the mode of the new focus: the
    // press that began it must not leave a stroke behind here.
    resetTransientState();
    if (const PickRecord pick = pickAt(x, y); pick.id > 0)
        appController().focusDown(pick.id, true);
    else
        appController().focusUp(animateUp);
}

void SceneListener::resetTransientState() {
    pointOwnerId_ = -1;
    stroke_.clear();
    drawing_ = false;
    turned_ = false;
    leftDown = false;
    billboard_.reset();
}

void SceneListener::pressAt(int x, int y) {
    leftDown = true;
    pressX_ = lastX_ = x;
    pressY_ = lastY_ = y;
    stroke_.clear();
    drawing_ = false;
    turned_ = false;
    pointOwnerId_ = -1;
    tool_ = appController().settings().drawingTool;
    if (tool_ == kToolBrowsing)
        beginPan(x, y);
}

void SceneListener::extendOnPlane(int x, int y) {
    if (drawing_)
        extendStroke(stroke_, hitStrokePlane(x, y, planePoint_, planeNormal_));
}

FlowerObjectNode* SceneListener::focusOfKind(int kind, Matrix4& matrix) {
    FlowerObjectNode* focus = appController().sceneFocus().focusWithMatrix(matrix);
    return focus && focus->kind == kind ? focus : nullptr;
}

PickRay SceneListener::localRay(const Matrix4& matrix, int x, int y) {
    const TOGL* context = mainContext();
    if (!context)
        return {};
    const PickRay ray = context->pickRay(x, y);
    const Matrix4 back = inverted(matrix);
    return {transformPoint(back, ray.origin), unit(back.rotateVector(ray.direction))};
}

PickRecord SceneListener::pickAt(int x, int y) {
    const auto picked = pickUnder(x, y);
    return picked ? picked->record : PickRecord{-1};
}

bool SceneListener::eraseAt(SceneRoot& scene, int x, int y, int withinId) {
    const PickRecord pick = pickAt(x, y);
    if (pick.id <= 0 || pick.id == withinId || pick.twoIndexPart)
        return false;
    if (withinId != -1) {
        const SceneLookup within = scene.findInScene(withinId);
        if (!within.found || !isBelow(*within.object, pick.id))
            return false;
    }
    const SceneLookup found = scene.findInScene(pick.id);
    bool erased = false;
    if (!found.found) {
        // Organs are no parts of a composite: their receptacle lets them go.
        for (auto& plant : scene.plants)
            if (FlowerTorusNode* receptacle =
                    SceneFocusManager::receptacleHolding(*plant.composite, pick.id)) {
                erased = receptacle->detachOrgan(pick.id);
                break;
            }
    } else if (found.object->kind == kKindTorus) {
        // The receptacle's body is the flower itself, not a part to erase.
        return false;
    } else if (auto* sketch = dynamic_cast<FlowerSketchNode*>(found.object);
               sketch && pick.oneIndexPart && sketch->strokes.size() > 1) {
        sketch->removeStroke(pick.a);
        noteChange(kChangeScene, "Erase stroke");
        return true;
    } else if (!found.holder) {
        erased = scene.removePlant(pick.id);
    } else {
        // A sketch's last stroke takes the sketch with it, like any other piece.
        erased = scene.removePart(*found.holder, pick.id);
    }
    if (erased) {
        appController().sceneFocus().clearCandidates();
        noteChange(kChangeScene, "Erase part");
    }
    return erased;
}
