#include "modes/scene/MouseListenerForScenePetalModify.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "modes/organ/PetalBending.h"
#include "organs/FlowerPetalNode.h"

void MouseListenerForScenePetalModify::onLButtonDown(int x, int y) {
    Matrix4 matrix;
    const FlowerPetalNode* petal = static_cast<FlowerPetalNode*>(focusOfKind(kKindPetal, matrix));
    if (!petal || !mainContext())
        return;
    pressAt(x, y);
    petalId_ = petal->id;
    nearStroke_.clear();
    if (tool_ == kToolCursor) {
        pickFocusPoint(petal->id, x, y);
    } else if (tool_ == kToolPen) {
        drawing_ = true;
        startStroke(stroke_, hitViewPlane(x, y));
        nearStroke_.add(pixelNearPoint(x, y));
    }
}

bool MouseListenerForScenePetalModify::dragLeft(int x, int y) {
    if (tool_ == kToolCursor) {
        if (dragFocusPoint(x, y))
            redrawMainView();
    } else if (drawing_) {
        nearStroke_.add(pixelNearPoint(x, y));
        extendStroke(stroke_, hitViewPlane(x, y));
    }
    return true;
}

void MouseListenerForScenePetalModify::onLButtonUp(int, int) {
    if (!takeRelease())
        return;
    Matrix4 matrix;
    FlowerPetalNode* petal = static_cast<FlowerPetalNode*>(focusOfKind(kKindPetal, matrix));
    if (petal && petal->id == petalId_) {
        if (turned_) {
            petal->refreshShape();
            noteChange(kChangeScene, "Move control point");
        } else if (drawing_ && stroke_.size() >= kMinimumPoints && bend(*petal, matrix)) {
            petal->syncAxis();
            noteChange(kChangeScene, "Bend petal");
        }
    }
    nearStroke_.clear();
    petalId_ = -1;
    endRelease();
}

bool MouseListenerForScenePetalModify::bend(FlowerPetalNode& petal, const Matrix4& matrix) const {
    const TOGL* context = mainContext();
    if (!context)
        return false;
    Stroke local = stroke_.transformed(inverted(matrix));
    // The points the bend is made of, for following an edit in the diagnostics.
    local.printPoints();
    return bendPetal(petal, local, petalViewOf(*context, matrix),
                     appController().settings().controlPointVariant != 0);
}

void MouseListenerForScenePetalModify::onDraw(const DrawContext&) {
    nearStroke_.drawColored(3.0f);
}

bool MouseListenerForScenePetalModify::orbitsWith(int tool) const {
    return tool != kToolAxisModify;
}
