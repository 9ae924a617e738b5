#include "modes/composite/MouseListenerForCompositeModify.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "math/Diagnostics.h"
#include "model/FlowerObjectComposite.h"
#include "modes/ControlPointDrag.h"
#include "modes/DrawingBoard.h"
#include "modes/PlantGrowth.h"

namespace {

// The yellow of the board a branch is drawn on.
constexpr Rgba kBoardColour{0.5f, 0.5f, 0.0f, 0.5f};

// The object id under the pixel in the pick snapshot, -1 for none.
int pickedId(int x, int y) {
    const auto picked = pickUnder(x, y);
    return picked ? picked->record.id : -1;
}

} // namespace

FlowerObjectComposite* MouseListenerForCompositeModify::target() const {
    return asComposite(appController().findObject(targetId_));
}

bool MouseListenerForCompositeModify::orbitsWith(int tool) const {
    return tool == kToolPen || tool == kToolCursor || tool == kToolEraser || tool == kToolBrowsing;
}

void MouseListenerForCompositeModify::onLButtonDown(int x, int y) {
    FlowerObjectComposite* plant = asComposite(appController().workObject());
    if (!plant)
        return;
    leftDown = true;
    clear();
    targetId_ = plant->id;
    tool_ = appController().settings().drawingTool;
    switch (tool_) {
    case kToolBrowsing:
        beginPan(x, y);
        break;
    case kToolEraser:
        eraseUnder(*plant, x, y);
        break;
    case kToolCursor:
        turn_.start(*plant, pickedId(x, y), x, y);
        break;
    case kToolPen:
        startBranch(*plant, x, y);
        break;
    default:
        break;
    }
}

void MouseListenerForCompositeModify::onMouseMove(int x, int y) {
    if (!leftDown) {
        dragCameraWithButtons(x, y);
        return;
    }
    FlowerObjectComposite* plant = target();
    if (!plant)
        return;
    switch (tool_) {
    case kToolBrowsing:
        dragCamera(x, y);
        break;
    case kToolEraser:
        eraseUnder(*plant, x, y);
        break;
    case kToolCursor:
        if (turnTo(*plant, x, y))
            redrawMainView();
        break;
    case kToolPen:
        if (axisIndex_ >= 0)
            extendStroke(stroke_, hitStrokePlane(x, y, planePoint_, planeNormal_));
        break;
    default:
        break;
    }
}

void MouseListenerForCompositeModify::onLButtonUp(int x, int y) {
    // A release whose press this mode did not take (the second release of a double
    // click, a press while the work object was no plant) finishes nothing.
    if (!leftDown)
        return;
    leftDown = false;
    if (tool_ == kToolBrowsing) {
        if (TOGL* context = mainContext())
            context->endDrag();
    }
    if (FlowerObjectComposite* plant = target()) {
        if (tool_ == kToolPen && axisIndex_ >= 0) {
            const std::string step = finishBranch(*plant, x, y);
            if (!step.empty())
                noteChange(kChangeWorkObject, step);
        }
        if (turned_)
            noteChange(kChangeWorkObject, "Turn branch");
    }
    clear();
    noteChange(kChangeMainView);
}

void MouseListenerForCompositeModify::onLButtonDblClk(int, int) {
    if (!asComposite(appController().workObject()))
        return;
    targetMarked_ = true;
    redrawMainView();
    targetMarked_ = false;
}

void MouseListenerForCompositeModify::startBranch(const FlowerObjectComposite& plant, int x, int y) {
    const TOGL* context = mainContext();
    if (!context || plant.mainAxis.empty())
        return;
    const Camera& camera = context->camera();
    const PickRay ray = context->pickRay(x, y);
    const Stroke::RayPick nearest = plant.mainAxis.pickWithRay(ray.origin, ray.direction);
    axisIndex_ = nearest.index;
    axisLength_ = nearest.arcLength;
    planeNormal_ = camera.eye - camera.center;
    planePoint_ = nearest.point;
    startStroke(stroke_, hitStrokePlane(x, y, planePoint_, planeNormal_));
}

std::string MouseListenerForCompositeModify::finishBranch(FlowerObjectComposite& plant, int x,
                                                         int y) {
    if (stroke_.size() < kMinimumPoints || axisIndex_ >= plant.mainAxis.size())
        return {};
    stroke_.add(hitStrokePlane(x, y, planePoint_, planeNormal_));
    stroke_.smooth121();
    stroke_.resampleInPlace(stroke_.size() - 1);
    diagnostic("branch stroke length is %f", distance(stroke_.front(), stroke_.back()));

    return growFromAxis(plant, libraryBrowser().copySelected(), stroke_, planeNormal_,
                        axisIndex_ == plant.mainAxis.size() - 1, axisLength_);
}

bool MouseListenerForCompositeModify::eraseUnder(FlowerObjectComposite& plant, int x, int y) {
    const int id = pickedId(x, y);
    if (id < 0 || id == plant.id)
        return false;
    bool erased = plant.removeBranch(id);
    // A piece of the main axis after the first cuts the axis there; the first one
    // would take the whole plant with it.
    for (size_t j = 1; !erased && j < plant.segments.size(); ++j) {
        const FlowerObjectNode& segment = *plant.segments[j].node;
        const FlowerObjectComposite* inner = asComposite(&segment);
        if (segment.id == id || (inner && inner->findChild(id).found))
            erased = plant.cutAtSegment(id) != FlowerObjectComposite::Removal::None;
    }
    if (erased)
        noteChange(kChangeWorkObject, "Erase part");
    return erased;
}

bool MouseListenerForCompositeModify::turnTo(FlowerObjectComposite& plant, int x, int y) {
    const TOGL* context = mainContext();
    if (!context || !turn_.dragTo(plant, Matrix4(), *context, x, y))
        return false;
    turned_ = true;
    return true;
}

void MouseListenerForCompositeModify::onDraw(const DrawContext& draw) {
    stroke_.drawSketch();
    if (leftDown && tool_ == kToolPen && stroke_.size() >= 2)
        drawDrawingBoard(planePoint_, planeNormal_, stroke_.points, kBoardColour);
    if (targetMarked_)
        if (FlowerObjectComposite* plant = asComposite(appController().workObject()))
            plant->drawHighlightBox(draw);
}

void MouseListenerForCompositeModify::clear() {
    stroke_.clear();
    planePoint_ = Vector3();
    planeNormal_ = Vector3();
    axisIndex_ = -1;
    axisLength_ = 0.0;
    turn_.reset();
    turned_ = false;
}
