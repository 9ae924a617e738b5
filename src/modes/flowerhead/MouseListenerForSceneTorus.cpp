#include "modes/flowerhead/MouseListenerForSceneTorus.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectComposite.h"
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
}
