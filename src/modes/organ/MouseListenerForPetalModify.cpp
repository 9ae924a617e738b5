#include "modes/organ/MouseListenerForPetalModify.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "modes/organ/PetalBending.h"
#include "organs/FlowerPetalNode.h"

FlowerObjectNode* MouseListenerForPetalModify::dragTarget(const PickedControlPoint& picked) const {
    return appController().findObject(picked.objectId);
}

bool MouseListenerForPetalModify::mayDraw() const {
    return !appController().settings().showControlPoints;
}

void MouseListenerForPetalModify::strokeStarted(int x, int y, FlowerObjectNode*) {
    nearStroke_.clear();
    nearStroke_.add(pixelNearPoint(x, y));
    redrawMainView();
}

void MouseListenerForPetalModify::strokeExtended(int x, int y) {
    nearStroke_.add(pixelNearPoint(x, y));
}

void MouseListenerForPetalModify::onLButtonUp(int x, int y) {
    if (!leftDown)
        return;
    noteChange(kChangeMainView);
    OrganModifyListener::onLButtonUp(x, y);
    nearStroke_.clear();
}

std::string MouseListenerForPetalModify::finishStroke(const Stroke& stroke) {
    auto* petal = dynamic_cast<FlowerPetalNode*>(appController().workObject());
    if (!petal)
        return {};
    const bool bent = stroke.size() >= kMinimumPoints && bend(*petal, stroke);
    petal->syncAxis();
    return bent ? "Bend petal" : "";
}

void MouseListenerForPetalModify::dragFinished(FlowerObjectNode& target) {
    if (auto* petal = dynamic_cast<FlowerPetalNode*>(&target))
        petal->refreshShape();
}

bool MouseListenerForPetalModify::bend(FlowerPetalNode& petal, const Stroke& stroke) {
    const TOGL* context = mainContext();
    if (!context)
        return false;
    return bendPetal(petal, stroke, petalViewOf(*context, Matrix4()),
                     appController().settings().controlPointVariant != 0);
}

void MouseListenerForPetalModify::onDraw(const DrawContext&) {
    nearStroke_.drawColored(3.0f);
    // A short blue mark just in front of the base.
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    glLineWidth(3.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex3d(0.0, 0.0, 0.1);
    glVertex3d(0.0, 0.1, 0.14);
    glEnd();
}
