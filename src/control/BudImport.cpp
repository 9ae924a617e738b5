#include "control/BudImport.h"

#include "control/AppController.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ModelledBud.h"

namespace {

FlowerTorusNode* targetedFlowerHead() {
    FlowerObjectNode* target = appController().targetObject();
    return asTorus(target) ? static_cast<FlowerTorusNode*>(target) : nullptr;
}

} // namespace

bool importModelledBud(int budId, std::string& message) {
    AppController& controller = appController();
    FlowerTorusNode* flower = targetedFlowerHead();
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
    if (bud == flower) {
        message = "A flower head cannot be its own bud; choose another.";
        return false;
    }
    message = ModelledBud::mismatch(*bud, *flower);
    if (!message.empty())
        return false;
    std::unique_ptr<FlowerObjectNode> copy = bud->clone(controller.ids());
    auto head = std::unique_ptr<FlowerTorusNode>(static_cast<FlowerTorusNode*>(copy.release()));
    // The bud is where the bloom starts; it does not open from a bud of its own.
    head->modelledBud.reset();
    flower->modelledBud = std::make_shared<const ModelledBud>(std::move(head));
    controller.noteEdited(flower->id);
    controller.commit(controller.targetChange(), "Import animated flower");
    return true;
}

bool forgetModelledBud() {
    FlowerTorusNode* flower = targetedFlowerHead();
    if (!flower || !flower->modelledBud)
        return false;
    flower->modelledBud.reset();
    AppController& controller = appController();
    controller.noteEdited(flower->id);
    controller.commit(controller.targetChange(), "Forget the modelled bud");
    return true;
}
