#include "app/MouseListenerForPistilModify.h"

#include "app/AppController.h"
#include "model/FlowerObjectNode.h"

void MouseListenerForPistilModify::finishStroke(const Stroke& stroke) {
    if (FlowerObjectNode* pistil = appController().workObject())
        pistil->reshapeByStroke(stroke);
}
