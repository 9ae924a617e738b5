#include "control/BudImport.h"

#include "control/AppController.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ModelledBud.h"

bool importModelledBud(int budId, std::string& message) {
    AppController& controller = appController();
    FlowerTorusNode* flower = asTorus(controller.targetObject());
    if (!flower) {
        message = "Open a flower head first: the bud is imported for the flower head being edited.";
        return false;
    }
    const auto entry = controller.library().find(budId);
    const FlowerTorusNode* bud =
        entry != controller.library().end() ? asTorus(entry->second.get()) : nullptr;
    if (!bud) {
        message = "Choose a stored flower head as the bud.";
        return false;
    }
    message = ModelledBud::give(*flower, *bud, controller.ids());
    if (!message.empty())
        return false;
    controller.noteEdited(flower->id);
    controller.commit(controller.targetChange(), "Import animated flower");
    return true;
}

bool forgetModelledBud() {
    FlowerTorusNode* flower = asTorus(appController().targetObject());
    if (!flower || !flower->modelledBud)
        return false;
    flower->modelledBud.reset();
    AppController& controller = appController();
    controller.noteEdited(flower->id);
    controller.commit(controller.targetChange(), "Forget the modelled bud");
    return true;
}
