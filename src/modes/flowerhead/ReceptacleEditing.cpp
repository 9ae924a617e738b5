#include "modes/flowerhead/ReceptacleEditing.h"

#include "control/AppController.h"
#include "control/FloralDiagram.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectComposite.h"
#include "modes/ControlPointDrag.h"
#include "modes/DrawingBoard.h"
#include "organs/FlowerTorusNode.h"

#include <cmath>

namespace {

// Whether the organ is the one with this id or holds it somewhere inside.
bool holds(FlowerObjectNode& organ, int id) {
    if (organ.id == id)
        return true;
    if (FlowerObjectComposite* composite = asComposite(&organ))
        return composite->findChild(id).found;
    if (organ.kind == kKindTorus)
        return static_cast<FlowerTorusNode&>(organ).findOrgan(id).found;
    return false;
}

struct SlotOfOrgan {
    int whorl = kWhorlNone;
    int index = -1;
    FlowerPart* slot = nullptr;
};

// The slot whose organ is, or holds, the organ with this id.
SlotOfOrgan slotHolding(FlowerTorusNode& torus, int organId) {
    for (int whorl : kWhorlsInsideOut) {
        const SlotList& parts = torus.whorl(whorl).parts;
        for (int i = 0; i < static_cast<int>(parts.size()); ++i)
            if (parts[i]->object && holds(*parts[i]->object, organId))
                return {whorl, i, parts[i].get()};
    }
    return {};
}

// A slot marked on the floral diagram that an edit picks, or that an organ is drawn
// into, is no longer waiting for a copy: its mark goes.
void settlePending(const FlowerTorusNode& torus, int whorl, int index) {
    if (floralDiagram().selection().unmark(torus.id, {whorl, index}))
        appController().noteChange(kChangeMainView | kChangeLibraryView);
}

} // namespace

FlowerTorusNode* ReceptacleEditing::heldReceptacle() const {
    FlowerTorusNode* torus = currentReceptacle().node;
    return torus && torus->id == receptacleId_ ? torus : nullptr;
}

bool ReceptacleEditing::orbitsWith(int tool) const {
    return tool <= kToolBrowsing;
}

void ReceptacleEditing::onLButtonDown(int x, int y) {
    leftDown = true;
    reset();
    lastX_ = x;
    lastY_ = y;
    const EditedReceptacle edited = currentReceptacle();
    if (!edited.node)
        return;
    receptacleId_ = edited.node->id;
    model_ = edited.model;
    const AppController& controller = appController();
    switch (controller.settings().drawingTool) {
    case kToolBrowsing:
        action_ = Action::Pan;
        beginPan(x, y);
        break;
    case kToolEraser:
        action_ = Action::Erase;
        erase(x, y);
        break;
    case kToolCursor:
        startCursor(*edited.node, x, y);
        break;
    case kToolPen:
        if (controller.settings().showWireFrame)
            startProfile(*edited.node, x, y);
        else
            startOrgan(*edited.node, x, y);
        break;
    default:
        if (pressOtherTool(controller.settings().drawingTool, x, y))
            action_ = Action::Other;
        break;
    }
}

void ReceptacleEditing::onMouseMove(int x, int y) {
    if (!leftDown) {
        dragCameraWithButtons(x, y);
        return;
    }
    switch (action_) {
    case Action::Pan:
        dragCamera(x, y);
        break;
    case Action::Erase:
        erase(x, y);
        break;
    case Action::PointDrag:
        if (dragPoint(x, y))
            redrawMainView();
        break;
    case Action::Turn:
        if (turnOrgan(x, y))
            redrawMainView();
        break;
    case Action::Profile:
        // The profile keeps ending at the receptacle's base.
        stroke_.points.insert(stroke_.points.end() - 1, onProfilePlane(x, y));
        redrawMainView();
        break;
    case Action::Organ:
        extendStroke(stroke_,
                     hitPlaneThroughPoint(pixelNearPoint(x, y), planePoint_, planeNormal_));
        break;
    case Action::Other:
        dragOtherTool(x, y);
        break;
    case Action::None:
        break;
    }
    lastX_ = x;
    lastY_ = y;
}

void ReceptacleEditing::onLButtonUp(int, int) {
    if (!leftDown)
        return;
    leftDown = false;
    switch (action_) {
    case Action::Pan:
        if (TOGL* context = mainContext())
            context->endDrag();
        break;
    case Action::Profile:
        finishProfile();
        break;
    case Action::Organ:
        finishOrgan();
        break;
    case Action::PointDrag:
        if (edited_)
            noteChange(appController().targetChange(), "Move control point");
        break;
    case Action::Turn:
        if (edited_)
            noteChange(appController().targetChange(), "Turn organ");
        break;
    case Action::Erase:
    case Action::Other:
    case Action::None:
        break;
    }
    reset();
    noteChange(kChangeMainView);
}

void ReceptacleEditing::reset() {
    action_ = Action::None;
    receptacleId_ = -1;
    model_ = Matrix4();
    stroke_.clear();
    slotWhorl_ = -1;
    slotIndex_ = -1;
    organId_ = -1;
    row_ = -1;
    column_ = -1;
    depth_ = 1.0f;
    edited_ = false;
}

// --- Pen

Vector3 ReceptacleEditing::onProfilePlane(int x, int y) const {
    const Vector3 origin = transformPoint(model_, Vector3());
    const Vector3 normal = transformPoint(model_, {0.0, 0.0, 1.0}) - origin;
    return hitPlaneThroughPoint(pixelNearPoint(x, y), origin, normal);
}

void ReceptacleEditing::startProfile(const FlowerTorusNode& torus, int x, int y) {
    if (torus.m_basicCurve.empty())
        return;
    action_ = Action::Profile;
    const Vector3 pressed = onProfilePlane(x, y);
    // The profile starts on the axis at the pressed height and ends at the base.
    Vector3 onAxis = transformPoint(inverted(model_), pressed);
    onAxis.x = 0.0;
    stroke_.clear();
    stroke_.add(transformPoint(model_, onAxis));
    stroke_.add(pressed);
    stroke_.add(transformPoint(model_, torus.m_basicCurve.back()));
    redrawMainView();
}

void ReceptacleEditing::finishProfile() {
    FlowerTorusNode* torus = heldReceptacle();
    if (!torus || stroke_.size() < kMinimumProfilePoints)
        return;
    Stroke profile = stroke_.transformed(inverted(model_));
    for (Vector3& p : profile.points)
        p.z = 0.0;
    const ResolutionPair& resolution = appController().settings().parameters.receptacle;
    torus->setProfile(resolution.horizontal, resolution.vertical, profile);
    floralDiagram().bind(torus);
    noteChange(appController().targetChange() | kChangeLibraryView, "Redraw receptacle");
}

void ReceptacleEditing::startOrgan(const FlowerTorusNode& torus, int x, int y) {
    const TOGL* context = mainContext();
    if (!context)
        return;
    const PickRay ray = context->pickRay(x, y);
    const Matrix4 toReceptacle = inverted(model_);
    const SlotHit hit = torus.nearestEmptySlot(transformPoint(toReceptacle, ray.origin),
                                               toReceptacle.rotateVector(ray.direction));
    if (!hit.found)
        return;
    action_ = Action::Organ;
    slotWhorl_ = hit.whorl;
    slotIndex_ = hit.index;
    slotSide_ = hit.side;
    planePoint_ = transformPoint(model_, hit.position);
    planeNormal_ = model_.rotateVector(hit.side);
    startStroke(stroke_, hitPlaneThroughPoint(pixelNearPoint(x, y), planePoint_, planeNormal_));
}

void ReceptacleEditing::finishOrgan() {
    FlowerTorusNode* torus = heldReceptacle();
    if (!torus || stroke_.size() < kMinimumOrganPoints || !isWhorl(slotWhorl_))
        return;
    // Only the empty slot the press found takes the organ: a slot that has gone or
    // been filled meanwhile keeps what it holds.
    const SlotList& list = torus->whorl(slotWhorl_).parts;
    if (slotIndex_ < 0 || slotIndex_ >= static_cast<int>(list.size()) || list[slotIndex_]->object)
        return;
    const Stroke axis = stroke_.transformed(inverted(model_));
    torus->attachOrgan(slotWhorl_, slotIndex_, libraryBrowser().copySelected(), axis.points,
                       slotSide_);
    settlePending(*torus, slotWhorl_, slotIndex_);
    noteChange(appController().targetChange(), "Draw organ");
}

// --- Cursor

void ReceptacleEditing::startCursor(FlowerTorusNode& torus, int x, int y) {
    const auto picked = pickUnder(x, y);
    // The receptacle's own body is not dragged; its control point and the organs are.
    if (!picked || (!picked->record.twoIndexPart && picked->record.id == torus.id))
        return;
    const PickRecord& record = picked->record;
    if (record.id != torus.id) {
        const SlotOfOrgan holder = slotHolding(torus, record.id);
        if (!holder.slot)
            return;
        settlePending(torus, holder.whorl, holder.index);
    }
    organId_ = record.id;
    if (record.twoIndexPart) {
        action_ = Action::PointDrag;
        row_ = record.a;
        column_ = record.b;
        depth_ = picked->depth;
    } else {
        action_ = Action::Turn;
    }
}

bool ReceptacleEditing::dragPoint(int x, int y) {
    FlowerTorusNode* torus = heldReceptacle();
    const TOGL* context = mainContext();
    if (!torus || !context)
        return false;
    const Vector3 p = transformPoint(inverted(model_), context->unprojectPixel(x, y, depth_));
    const Parameters& parameters = appController().settings().parameters;
    if (organId_ == torus->id) {
        torus->editByPick(row_, column_, p, parameters);
        receptacleReshaped();
        edited_ = true;
        return true;
    }
    const SlotOfOrgan holder = slotHolding(*torus, organId_);
    if (!holder.slot)
        return false;
    FlowerObjectNode& picked = *holder.slot->object;
    if (picked.id != organId_) {
        // A part of an organ inside a slot: only that part moves.
        const OrganLookup inner = torus->findOrgan(organId_);
        if (!inner.found)
            return false;
        inner.organ->editByPick(row_, column_, transformPoint(inverted(inner.matrix), p),
                                parameters);
        edited_ = true;
        return true;
    }
    // The point in the organ's own frame, given to every organ of its kind in the
    // whorl: all petals of a flower keep one shape.
    const Vector3 local = transformPoint(inverted(holder.slot->organMatrix()), p);
    for (const auto& slot : torus->whorl(holder.whorl).parts)
        if (slot->object && slot->object->kind == picked.kind)
            slot->object->editByPick(row_, column_, local, parameters);
    edited_ = true;
    return true;
}

bool ReceptacleEditing::turnOrgan(int x, int y) {
    FlowerTorusNode* torus = heldReceptacle();
    const TOGL* context = mainContext();
    if (!torus || !context || (x == lastX_ && y == lastY_))
        return false;
    const SlotOfOrgan holder = slotHolding(*torus, organId_);
    if (!holder.slot)
        return false;
    const OrganTurn turn = turnBetween(lastX_, lastY_, x, y);
    const Camera& camera = context->camera();
    const Matrix4 toSlot = inverted(model_ * holder.slot->organMatrix());
    const Vector3 axis =
        cross(toSlot.rotateVector(turn.drag), toSlot.rotateVector(camera.eye - camera.center));
    Matrix4 rotation;
    if (!rotation.setRotationAxis(axis, std::cos(turn.angle), std::sin(turn.angle)))
        return false;
    // The turn is the same in every slot's own frame, so the whorl turns as one.
    for (const auto& slot : torus->whorl(holder.whorl).parts)
        slot->rotation = slot->rotation * rotation;
    edited_ = true;
    return true;
}

// --- Eraser and selection

void ReceptacleEditing::erase(int x, int y) {
    FlowerTorusNode* torus = heldReceptacle();
    const auto picked = pickUnder(x, y);
    if (!torus || !picked || picked->record.id == torus->id)
        return;
    if (torus->detachOrgan(picked->record.id))
        noteChange(appController().targetChange(), "Erase organ");
}

void ReceptacleEditing::toggleSelectionAt(int x, int y) {
    FlowerTorusNode* torus = currentReceptacle().node;
    if (!torus)
        return;
    SlotSelection& selection = floralDiagram().selection();
    const auto picked = pickUnder(x, y);
    if (!picked) {
        selection.clearSelected(torus->id);
    } else if (!picked->record.twoIndexPart && picked->record.id != torus->id) {
        if (const SlotOfOrgan holder = slotHolding(*torus, picked->record.id); holder.slot)
            selection.toggleSelected(torus->id, {holder.whorl, holder.index});
    }
    noteChange(kChangeMainView);
}

// --- Overlay

void ReceptacleEditing::onDraw(const DrawContext&) {
    stroke_.drawSketch();
    const AppController& controller = appController();
    const EditedReceptacle edited = currentReceptacle();
    if (edited.node && controller.settings().drawingTool == kToolPen &&
        controller.settings().showWireFrame) {
        glPushMatrix();
        glMultMatrixd(edited.model.data());
        drawGuideBoard(*edited.node);
        glPopMatrix();
    }
    if (action_ == Action::Organ && stroke_.size() >= 2)
        drawDrawingBoard(planePoint_, planeNormal_, stroke_.points, kDrawingBoardColour);
}
