#include "modes/OrganModeSwitch.h"

#include "control/AppController.h"
#include "model/FlowerObjectNode.h"

void editNewOrgan(std::unique_ptr<FlowerObjectNode> organ, int modifyMode,
                  const std::string& step) {
    AppController& controller = appController();
    controller.setWorkObject(std::move(organ));
    controller.switchToMode(modifyMode);
    controller.noteChange(kChangeWorkObject, step);
}
