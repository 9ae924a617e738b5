#include "modes/flowerhead/MouseListenerForTorusModify.h"

#include "control/AppController.h"
#include "interaction/OpenGL.h"
#include "modes/DrawingBoard.h"
#include "organs/FlowerTorusNode.h"

EditedReceptacle MouseListenerForTorusModify::currentReceptacle() const {
    return {dynamic_cast<FlowerTorusNode*>(appController().workObject()), Matrix4()};
}

void MouseListenerForTorusModify::drawGuideBoard(const FlowerTorusNode&) const {
    // A board of fixed size behind the axis: the profile is drawn on its left or
    // right half.
    drawTranslucentRectangle(-1.0, -0.2, 1.0, 1.2, kGuideBoardColour);
    glLineWidth(3.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex3d(0.0, -0.2, 0.0);
    glVertex3d(0.0, 1.2, 0.0);
    glEnd();
}

OrganTurn MouseListenerForTorusModify::turnBetween(int fromX, int fromY, int toX, int toY) const {
    const Vector3 drag = hitViewPlane(toX, toY) - hitViewPlane(fromX, fromY);
    return {drag, kTurnPerUnit * drag.length()};
}
