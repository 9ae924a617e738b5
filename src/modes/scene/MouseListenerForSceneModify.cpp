#include "modes/scene/MouseListenerForSceneModify.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "modes/PlantGrowth.h"

#include <string>

void MouseListenerForSceneModify::onLButtonDown(int x, int y) {
    AppController& c = appController();
    Matrix4 matrix;
    FlowerObjectNode* focus = c.sceneFocus().focusWithMatrix(matrix);
    if (!focus || !mainContext())
        return;
    pressAt(x, y);
    turn_.reset();
    billboard_.follow(focus->id);
    FlowerObjectComposite* composite = asComposite(focus);
    if (BillboardSketching::isTool(tool_)) {
        // With billboards shown, a press on one of their strokes draws on it.
        if (c.settings().display.showBillboard) {
            const PickRecord pick = pickAt(x, y);
            billboard_.select(*c.root(), pick.id, pick.oneIndexPart, focus->id);
        }
        startBillboard(*c.root(), x, y, composite ? focus->id : -1);
        return;
    }
    switch (tool_) {
    case kToolPen:
        if (composite)
            startBranch(*composite, matrix, x, y);
        break;
    case kToolAxisModify:
        startAxis(*focus, matrix, x, y);
        break;
    case kToolCursor:
        if (composite)
            turn_.start(*composite, pickAt(x, y).id, x, y);
        break;
    case kToolEraser:
        eraseAt(*c.root(), x, y, focus->id);
        break;
    default:
        break;
    }
}

bool MouseListenerForSceneModify::dragLeft(int x, int y) {
    AppController& c = appController();
    Matrix4 matrix;
    FlowerObjectNode* focus = c.sceneFocus().focusWithMatrix(matrix);
    if (!focus)
        return true;
    if (tool_ == kToolEraser) {
        if (eraseAt(*c.root(), x, y, focus->id))
            redrawMainView();
    } else if (tool_ == kToolCursor) {
        const TOGL* context = mainContext();
        if (FlowerObjectComposite* composite = asComposite(focus);
            composite && context && turn_.dragTo(*composite, matrix, *context, x, y)) {
            turned_ = true;
            redrawMainView();
        }
    } else {
        return false;
    }
    return true;
}

void MouseListenerForSceneModify::onLButtonUp(int x, int y) {
    if (!takeRelease())
        return;
    Matrix4 matrix;
    FlowerObjectNode* focus = appController().sceneFocus().focusWithMatrix(matrix);
    if (focus && drawing_ && stroke_.size() >= kMinimumPoints) {
        stroke_.add(hitStrokePlane(x, y, planePoint_, planeNormal_));
        if (tool_ == kToolPen) {
            if (const std::string step = finishBranch(*asComposite(focus), matrix); !step.empty())
                noteChange(kChangeScene, step);
        } else if (tool_ == kToolAxisModify && finishAxis(*focus, matrix)) {
            noteChange(kChangeScene, "Redraw axis");
        }
    }
    if (turned_)
        noteChange(kChangeScene, "Turn branch");
    if (SceneRoot* scene = appController().root(); scene && focus)
        finishBillboard(*scene, x, y, focus->id);
    endRelease();
}

void MouseListenerForSceneModify::onLButtonDblClk(int x, int y) {
    moveFocusByDoubleClick(x, y, true);
}

void MouseListenerForSceneModify::onRButtonUp(int x, int y) {
    const bool click = rightClicked(x, y);
    SceneListener::onRButtonUp(x, y);
    if (!click)
        return;
    if (const PickRecord pick = pickAt(x, y); pick.id > 0)
        appController().addCandidate(pick.id);
    else
        appController().sceneFocus().clearCandidates();
}

void MouseListenerForSceneModify::onRButtonDblClk(int x, int y) {
    if (const PickRecord pick = pickAt(x, y); pick.id > 0)
        appController().selectSimilar(pick.id);
    else
        appController().sceneFocus().clearCandidates();
    noteChange(kChangeMainView);
}

void MouseListenerForSceneModify::startBranch(const FlowerObjectComposite& focus,
                                              const Matrix4& matrix, int x, int y) {
    const TOGL& context = *mainContext();
    if (focus.mainAxis.size() < 2)
        return;
    const PickRay ray = localRay(matrix, x, y);
    const Stroke::RayPick nearest = focus.mainAxis.pickWithRay(ray.origin, ray.direction);
    if (nearest.distance >= kAxisReach)
        return;
    const Camera& camera = context.camera();
    axisLength_ = nearest.arcLength;
    atTip_ = nearest.index == focus.mainAxis.size() - 1;
    planeNormal_ = camera.eye - camera.center;
    planePoint_ = transformPoint(matrix, nearest.point);
    drawing_ = true;
    startStroke(stroke_, planePoint_);
}

std::string MouseListenerForSceneModify::finishBranch(FlowerObjectComposite& focus,
                                                      const Matrix4& matrix) {
    const Matrix4 back = inverted(matrix);
    return growFromAxis(focus, libraryBrowser().copySelected(), stroke_.transformed(back),
                        unit(back.rotateVector(planeNormal_)), atTip_, axisLength_);
}

void MouseListenerForSceneModify::startAxis(const FlowerObjectNode& focus, const Matrix4& matrix,
                                            int x, int y) {
    const TOGL& context = *mainContext();
    if (focus.mainAxis.empty())
        return;
    const PickRay ray = localRay(matrix, x, y);
    const Vector3 tip = focus.mainAxis.back();
    const Vector3 across = tip - ray.origin;
    if ((across - ray.direction * dot(across, ray.direction)).length() > kTipReach)
        return;
    const Camera& camera = context.camera();
    planeNormal_ = camera.eye - camera.center;
    planePoint_ = transformPoint(matrix, tip);
    drawing_ = true;
    startStroke(stroke_, planePoint_);
}

bool MouseListenerForSceneModify::finishAxis(FlowerObjectNode& focus, const Matrix4& matrix) {
    const TOGL& context = *mainContext();
    const Matrix4 back = inverted(matrix);
    Stroke old = focus.mainAxis;
    Stroke drawn = stroke_.transformed(back);
    const int segments = old.size() - 1;
    if (segments < 1)
        return false;
    old.resampleInPlace(segments);
    drawn.resampleInPlace(segments);
    const Vector3 eye = transformPoint(back, context.camera().eye);
    const Vector3 planePoint = transformPoint(back, planePoint_);
    const Vector3 normal = unit(back.rotateVector(planeNormal_));
    // Each point of the drawn axis moves off the drawing plane as far as the old
    // axis's point at the same place lay off it, towards or away from the viewer.
    for (int i = 0; i < drawn.size() && i < old.size(); ++i) {
        const Vector3 towardsOld = old.points[i] - eye;
        const double along = dot(towardsOld, normal);
        if (along == 0.0)
            continue;
        const Vector3 onPlane = eye + towardsOld * (dot(planePoint - eye, normal) / along);
        double offset = distance(onPlane, old.points[i]);
        if (towardsOld.length() > (onPlane - eye).length())
            offset = -offset;
        drawn.points[i] = drawn.points[i] + unit(eye - drawn.points[i]) * offset;
    }
    focus.reshapeByStroke(drawn);
    Matrix4 parentMatrix;
    if (FlowerObjectComposite* parent =
            asComposite(appController().sceneFocus().parentWithMatrix(parentMatrix)))
        parent->rebuildAxisKeepPositions();
    return true;
}
