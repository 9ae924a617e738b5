#include "modes/organ/MouseListenerForStamenModify.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "organs/FlowerStamenNode.h"

bool MouseListenerForStamenModify::mayDraw() const {
    return appController().settings().stamenEditEnabled;
}

void MouseListenerForStamenModify::strokeStarted(int, int, FlowerObjectNode* work) {
    targetId_ = work ? work->id : -1;
    redrawMainView();
}

std::string MouseListenerForStamenModify::finishStroke(const Stroke& stroke) {
    const int target = targetId_;
    targetId_ = -1;
    if (stroke.size() < kMinimumPoints)
        return {};
    auto* stamen = dynamic_cast<FlowerStamenNode*>(appController().findObject(target));
    const TOGL* context = mainContext();
    if (!stamen || stamen->mainAxis.empty() || !context)
        return {};
    const Camera& camera = context->camera();
    Stroke anther = stroke;
    if (!carryOntoPlane(camera.eye, anther.points, stamen->mainAxis.back(),
                        camera.eye - camera.center))
        return {};
    stamen->setAnther(anther, appController().settings().parameters);
    return "Draw anther";
}
