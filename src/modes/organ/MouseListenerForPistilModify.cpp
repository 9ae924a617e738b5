#include "modes/organ/MouseListenerForPistilModify.h"

#include "control/AppController.h"
#include "model/FlowerObjectNode.h"

std::string MouseListenerForPistilModify::finishStroke(const Stroke& stroke) {
    FlowerObjectNode* pistil = appController().workObject();
    if (!pistil)
        return {};
    pistil->reshapeByStroke(stroke);
    return "Re-sketch pistil";
}
