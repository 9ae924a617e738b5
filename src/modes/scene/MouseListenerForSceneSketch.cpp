#include "modes/scene/MouseListenerForSceneSketch.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "modes/PlantGrowth.h"

#include <cmath>

namespace {

// Half a radian of roll per unit of drag on the view plane.
constexpr double kRollPerUnit = 0.5;

} // namespace

void MouseListenerForSceneSketch::onLButtonDown(int x, int y) {
    SceneRoot* scene = appController().root();
    const TOGL* context = mainContext();
    if (!scene || !context)
        return;
    pressAt(x, y);
    rolledId_ = -1;
    billboard_.follow(scene->id);
    if (BillboardSketching::isTool(tool_)) {
        startBillboard(*scene, x, y, -1);
        return;
    }
    switch (tool_) {
    case kToolPen: {
        const Camera& camera = context->camera();
        planePoint_ = hitPlaneY0(x, y);
        planeNormal_ = camera.center - camera.eye;
        planeNormal_.y = 0.0;
        drawing_ = true;
        startStroke(stroke_, planePoint_);
        break;
    }
    case kToolCursor:
        if (const PickRecord pick = pickAt(x, y); pick.id > 0)
            if (const SceneLookup found = scene->findInScene(pick.id); found.found)
                rolledId_ = found.plant->id;
        break;
    case kToolEraser:
        eraseAt(*scene, x, y, -1);
        break;
    default:
        break;
    }
}

bool MouseListenerForSceneSketch::dragLeft(int x, int y) {
    SceneRoot* scene = appController().root();
    if (!scene)
        return true;
    if (tool_ == kToolEraser) {
        if (eraseAt(*scene, x, y, -1))
            redrawMainView();
    } else if (tool_ == kToolCursor) {
        if (rollTo(*scene, x, y))
            redrawMainView();
    } else {
        return false;
    }
    return true;
}

void MouseListenerForSceneSketch::onLButtonUp(int x, int y) {
    if (!takeRelease())
        return;
    SceneRoot* scene = appController().root();
    if (scene && tool_ == kToolPen && drawing_ && stroke_.size() >= kMinimumPoints) {
        stroke_.add(hitStrokePlane(x, y, planePoint_, planeNormal_));
        scene->plantAlongStroke(asPlant(libraryBrowser().copySelected()), stroke_);
        noteChange(kChangeScene, "Plant along stroke");
    }
    if (turned_)
        noteChange(kChangeScene, "Turn plant");
    if (scene)
        finishBillboard(*scene, x, y, -1);
    rolledId_ = -1;
    endRelease();
}

void MouseListenerForSceneSketch::onLButtonDblClk(int x, int y) {
    moveFocusByDoubleClick(x, y, false);
}

void MouseListenerForSceneSketch::onRButtonDblClk(int, int) {
    appController().focusUp(true);
}

bool MouseListenerForSceneSketch::rollTo(SceneRoot& scene, int x, int y) {
    const TOGL* context = mainContext();
    if (!context || rolledId_ < 0)
        return false;
    const Vector3 drag = hitViewPlane(x, y) - hitViewPlane(lastX_, lastY_);
    lastX_ = x;
    lastY_ = y;
    for (SceneRoot::Plant& plant : scene.plants) {
        if (plant.composite->id != rolledId_)
            continue;
        Matrix4& placement = plant.placement;
        // The drag and the eye seen in the plant's own turned frame: the plant
        // rolls about the axis across both, away from the viewer.
        const Matrix4 back = inverted(placement);
        const Vector3 along = back.rotateVector(drag);
        const Vector3 toEye =
            back.rotateVector(placement.translationPart() - context->camera().eye);
        Matrix4 roll;
        const double angle = along.length() * kRollPerUnit;
        if (angle == 0.0 ||
            !roll.setRotationAxis(cross(along, toEye), std::cos(angle), std::sin(angle)))
            return false;
        placement = placement * roll;
        turned_ = true;
        return true;
    }
    return false;
}
