#include "modes/composite/MouseListenerForCompositModify.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "math/Diagnostics.h"
#include "model/FlowerObjectComposite.h"
#include "model/PickColour.h"
#include "modes/BranchSide.h"
#include "modes/DrawingBoard.h"

namespace {

// The yellow of the board a branch is drawn on.
constexpr Rgba kBoardColour{0.5f, 0.5f, 0.0f, 0.5f};

// The object id under the pixel in the pick snapshot, -1 for none.
int pickedId(const TOGL* context, int x, int y) {
    if (!context)
        return -1;
    const PickPixel pixel = context->pixelHasObject(x, y);
    return pixel.found ? decodePickColour(pixel.colour).id : -1;
}

// The composite with this id inside the plant (the plant itself included) and its
// model matrix relative to the plant; null when it is not there.
FlowerObjectComposite* compositeIn(FlowerObjectComposite& plant, int id, Matrix4& matrix) {
    matrix = Matrix4();
    if (plant.id == id)
        return &plant;
    const CompositeLookup found = plant.findChild(id);
    matrix = found.matrix;
    return found.found ? asComposite(found.object) : nullptr;
}

// The selected library object as a branch: a composite as it is, anything else
// carried by a new composite along the object's own axis.
std::unique_ptr<FlowerObjectComposite> branchOf(std::unique_ptr<FlowerObjectNode> selected) {
    if (asComposite(selected.get()))
        return std::unique_ptr<FlowerObjectComposite>(
            static_cast<FlowerObjectComposite*>(selected.release()));
    auto branch = std::make_unique<FlowerObjectComposite>(appController().nextId());
    const Stroke axis = selected->mainAxis;
    branch->appendAlongAxis(std::move(selected), axis, Vector3(0.0, 0.0, 1.0));
    return branch;
}

} // namespace

FlowerObjectComposite* MouseListenerForCompositModify::target() const {
    return asComposite(appController().findObject(targetId_));
}

void MouseListenerForCompositModify::onRButtonDown(int x, int y) {
    const int tool = appController().settings().drawingTool;
    if (tool == kToolPen || tool == kToolCursor || tool == kToolEraser || tool == kToolBrowsing)
        beginOrbit(x, y);
}

void MouseListenerForCompositModify::onRButtonUp(int, int) {
    endRightDrag();
    noteChange(kChangeMainView);
}

void MouseListenerForCompositModify::onMButtonUp(int, int) {
    endMiddleDrag();
    noteChange(kChangeMainView);
}

void MouseListenerForCompositModify::onLButtonDown(int x, int y) {
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
        startTurn(*plant, x, y);
        break;
    case kToolPen:
        startBranch(*plant, x, y);
        break;
    default:
        break;
    }
}

void MouseListenerForCompositModify::onMouseMove(int x, int y) {
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

void MouseListenerForCompositModify::onLButtonUp(int x, int y) {
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

void MouseListenerForCompositModify::onLButtonDblClk(int, int) {
    if (!asComposite(appController().workObject()))
        return;
    targetMarked_ = true;
    redrawMainView();
    targetMarked_ = false;
}

void MouseListenerForCompositModify::startBranch(const FlowerObjectComposite& plant, int x, int y) {
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

std::string MouseListenerForCompositModify::finishBranch(FlowerObjectComposite& plant, int x,
                                                         int y) {
    if (stroke_.size() < kMinimumPoints || axisIndex_ >= plant.mainAxis.size())
        return {};
    stroke_.add(hitStrokePlane(x, y, planePoint_, planeNormal_));
    stroke_.smooth121();
    stroke_.resampleInPlace(stroke_.size() - 1);
    diagnostic("branch stroke length is %f", distance(stroke_.front(), stroke_.back()));

    std::unique_ptr<FlowerObjectNode> selected = libraryBrowser().copySelected();
    if (axisIndex_ == plant.mainAxis.size() - 1) {
        plant.appendAlongAxis(std::move(selected), stroke_, planeNormal_);
        return "Extend plant";
    }
    const double total = plant.mainAxis.length();
    const double t = total > 0.0 ? axisLength_ / total : 0.0;
    plant.addBranch(t, branchOf(std::move(selected)), stroke_, branchSide(stroke_, planeNormal_));
    return "Grow branch";
}

bool MouseListenerForCompositModify::eraseUnder(FlowerObjectComposite& plant, int x, int y) {
    const int id = pickedId(mainContext(), x, y);
    if (id < 0 || id == plant.id)
        return false;
    bool erased = plant.removeBranch(id);
    // A piece of the main axis after the first cuts the axis there; the first one
    // would take the whole plant with it.
    for (size_t j = 1; !erased && j < plant.m_childrenArongAxis.size(); ++j) {
        const FlowerObjectNode& segment = *plant.m_childrenArongAxis[j];
        const FlowerObjectComposite* inner = asComposite(&segment);
        if (segment.id == id || (inner && inner->findChild(id).found))
            erased = plant.cutAtSegment(id, nullptr);
    }
    if (erased)
        noteChange(kChangeWorkObject, "Erase part");
    return erased;
}

void MouseListenerForCompositModify::startTurn(const FlowerObjectComposite& plant, int x, int y) {
    const FlowerObjectComposite::BranchTurn turn = plant.branchTurnedBy(pickedId(mainContext(), x, y));
    if (turn.branchId < 0)
        return;
    turnedBranchId_ = turn.branchId;
    turnHolderId_ = turn.holderId;
    lastX_ = x;
    lastY_ = y;
}

bool MouseListenerForCompositModify::turnTo(FlowerObjectComposite& plant, int x, int y) {
    const TOGL* context = mainContext();
    Matrix4 holderMatrix;
    FlowerObjectComposite* holder =
        turnHolderId_ < 0 ? nullptr : compositeIn(plant, turnHolderId_, holderMatrix);
    if (!context || !holder)
        return false;
    const Vector3 drag = hitViewPlane(x, y) - hitViewPlane(lastX_, lastY_);
    lastX_ = x;
    lastY_ = y;
    const Camera& camera = context->camera();
    if (drag.length() == 0.0 ||
        !holder->turnBranch(turnedBranchId_, drag, holderMatrix, camera.center - camera.eye))
        return false;
    turned_ = true;
    return true;
}

void MouseListenerForCompositModify::onDraw() {
    stroke_.drawSketch();
    if (leftDown && tool_ == kToolPen && stroke_.size() >= 2)
        drawDrawingBoard(planePoint_, planeNormal_, stroke_.points, kBoardColour);
    if (targetMarked_)
        if (FlowerObjectComposite* plant = asComposite(appController().workObject()))
            plant->drawHighlightBox();
}

void MouseListenerForCompositModify::clear() {
    stroke_.clear();
    planePoint_ = Vector3();
    planeNormal_ = Vector3();
    axisIndex_ = -1;
    axisLength_ = 0.0;
    turnedBranchId_ = -1;
    turnHolderId_ = -1;
    turned_ = false;
}
