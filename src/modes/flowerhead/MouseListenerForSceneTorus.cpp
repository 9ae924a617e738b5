#include "modes/flowerhead/MouseListenerForSceneTorus.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "modes/ControlPointDrag.h"
#include "modes/DrawingBoard.h"
#include "organs/FlowerTorusNode.h"

#include <cmath>

EditedReceptacle MouseListenerForSceneTorus::currentReceptacle() const {
    EditedReceptacle edited;
    FlowerObjectNode* focus = appController().sceneFocus().focusWithMatrix(edited.model);
    if (focus && focus->kind == kKindTorus)
        edited.node = static_cast<FlowerTorusNode*>(focus);
    return edited;
}

void MouseListenerForSceneTorus::drawGuideBoard(const FlowerTorusNode& receptacle) const {
    // A board as tall as half again the receptacle, the axis up its middle.
    const double h = receptacle.mainAxis.empty() ? 1.0 : 1.5 * receptacle.mainAxis.back().y;
    drawTranslucentRectangle(-h / 2.0, 0.0, h / 2.0, h, kGuideBoardColour);
    glLineWidth(3.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex3d(0.0, 0.0, 0.0);
    glVertex3d(0.0, h, 0.0);
    glEnd();
}

OrganTurn MouseListenerForSceneTorus::turnBetween(int fromX, int fromY, int toX, int toY) const {
    const TOGL* context = mainContext();
    if (!context)
        return {};
    const Vector3 drag =
        context->unprojectPixel(toX, toY, pickDepth()) - context->unprojectPixel(fromX, fromY, pickDepth());
    return {drag, kTurnPerPixel * std::hypot(toX - fromX, toY - fromY)};
}

void MouseListenerForSceneTorus::receptacleReshaped() {
    Matrix4 unused;
    if (FlowerObjectComposite* holder =
            asComposite(appController().sceneFocus().parentWithMatrix(unused)))
        holder->rebuildAxisKeepPositions();
}

void MouseListenerForSceneTorus::onLButtonDblClk(int x, int y) {
    resetTransientState();
    const EditedReceptacle edited = currentReceptacle();
    const auto picked = pickUnder(x, y);
    if (!picked)
        appController().focusUp(true);
    else if (!edited.node || picked->record.id != edited.node->id)
        appController().focusDown(picked->record.id, true);
    noteChange(kChangeMainView);
}

void MouseListenerForSceneTorus::resetTransientState() {
    leftDown = false;
    reset();
    billboard_.reset();
    billboardStroke_.clear();
    drawingBillboard_ = false;
}

void MouseListenerForSceneTorus::onLButtonDown(int x, int y) {
    pressX_ = x;
    pressY_ = y;
    billboardStroke_.clear();
    drawingBillboard_ = false;
    if (const FlowerObjectNode* focus = appController().focus())
        billboard_.follow(focus->id);
    ReceptacleEditing::onLButtonDown(x, y);
}

bool MouseListenerForSceneTorus::pressOtherTool(int tool, int x, int y) {
    SceneRoot* scene = appController().root();
    const TOGL* context = mainContext();
    Vector3 first;
    if (!BillboardSketching::isTool(tool) || !scene || !context ||
        !billboard_.startStroke(*scene, *context, x, y, -1, planePoint_, planeNormal_, first))
        return false;
    drawingBillboard_ = true;
    startStroke(billboardStroke_, first);
    return true;
}

void MouseListenerForSceneTorus::dragOtherTool(int x, int y) {
    if (drawingBillboard_)
        extendStroke(billboardStroke_, hitStrokePlane(x, y, planePoint_, planeNormal_));
}

void MouseListenerForSceneTorus::onLButtonUp(int x, int y) {
    if (!leftDown)
        return;
    const int tool = appController().settings().drawingTool;
    ReceptacleEditing::onLButtonUp(x, y);
    SceneRoot* scene = appController().root();
    if (!scene)
        return;
    const bool click = x == pressX_ && y == pressY_;
    const auto picked = click ? pickUnder(x, y) : std::nullopt;
    if (const std::string step =
            billboard_.release(*scene, billboardStroke_, tool, drawingBillboard_, click,
                               picked ? picked->record : PickRecord{-1}, -1);
        !step.empty())
        noteChange(kChangeScene, step);
    billboardStroke_.clear();
    drawingBillboard_ = false;
}

void MouseListenerForSceneTorus::onDraw(const DrawContext& draw) {
    ReceptacleEditing::onDraw(draw);
    billboardStroke_.drawSketch();
    // While billboards are hidden, the one being drawn still shows.
    AppController& c = appController();
    if (BillboardSketching::isTool(c.settings().drawingTool) && !c.settings().display.showBillboard)
        if (SceneRoot* scene = c.root())
            billboard_.drawEdited(*scene, draw);
}
