#include "modes/flowerhead/MouseListenerForSceneStamen.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/StrokeGeometry.h"
#include "model/FlowerObjectComposite.h"
#include "organs/FlowerStamenNode.h"

void MouseListenerForSceneStamen::onLButtonDown(int x, int y) {
    Matrix4 matrix;
    FlowerStamenNode* stamen = static_cast<FlowerStamenNode*>(focusOfKind(kKindStamen, matrix));
    if (!stamen || !mainContext())
        return;
    pressAt(x, y);
    stamenId_ = stamen->id;
    axisStroke_ = false;
    switch (tool_) {
    case kToolEraser:
        stamen->removeAnther();
        noteChange(kChangeScene, "Erase anther");
        break;
    case kToolCursor:
        pickFocusPoint(stamen->id, x, y);
        break;
    case kToolPen:
    case kToolAxisModify: {
        if (stamen->mainAxis.empty())
            break;
        const PickRay ray = localRay(matrix, x, y);
        const Camera& camera = mainContext()->camera();
        planeNormal_ = camera.eye - camera.center;
        axisStroke_ = distanceToAxis(Vector3(), ray.origin, ray.direction) < kBaseReach;
        drawing_ = true;
        if (axisStroke_) {
            planePoint_ = transformPoint(matrix, Vector3());
            startStroke(stroke_, planePoint_);
        } else {
            planePoint_ = transformPoint(matrix, stamen->mainAxis.back());
            startStroke(stroke_, hitStrokePlane(x, y, planePoint_, planeNormal_));
        }
        break;
    }
    default:
        break;
    }
}

bool MouseListenerForSceneStamen::dragLeft(int x, int y) {
    if (tool_ == kToolCursor) {
        if (dragFocusPoint(x, y))
            redrawMainView();
        return true;
    }
    return tool_ != kToolPen && tool_ != kToolAxisModify;
}

void MouseListenerForSceneStamen::onLButtonUp(int, int) {
    if (!takeRelease())
        return;
    Matrix4 matrix;
    FlowerStamenNode* stamen = static_cast<FlowerStamenNode*>(focusOfKind(kKindStamen, matrix));
    if (stamen && stamen->id == stamenId_) {
        if (turned_) {
            noteChange(kChangeScene, "Move control point");
        } else if (drawing_ && stroke_.size() >= kMinimumPoints) {
            Stroke local = stroke_.transformed(inverted(matrix));
            if (axisStroke_) {
                stamen->reshapeByStroke(local);
                // The plant holding the stamen keeps its parts where they were.
                Matrix4 unused;
                if (FlowerObjectComposite* holder =
                        asComposite(appController().sceneFocus().parentWithMatrix(unused)))
                    holder->rebuildAxisKeepPositions();
                noteChange(kChangeScene, "Redraw filament");
            } else {
                stamen->setAnther(local, appController().settings().parameters);
                noteChange(kChangeScene, "Draw anther");
            }
        }
    }
    axisStroke_ = false;
    stamenId_ = -1;
    endRelease();
}

bool MouseListenerForSceneStamen::orbitsWith(int tool) const {
    return tool != kToolAxisModify;
}
