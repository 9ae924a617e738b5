#include "app/OrganModeSwitch.h"

#include "app/AppController.h"
#include "app/MouseListenerManager.h"
#include "model/FlowerObjectNode.h"

void editNewOrgan(std::unique_ptr<FlowerObjectNode> organ, int modifyMode) {
    AppController& controller = appController();
    controller.setWorkObject(std::move(organ));
    controller.mode = modifyMode;
    mouseListenerManager().switchToMode(modifyMode);
}
