#include "control/PlantArrangement.h"

#include "control/AppController.h"
#include "model/FlowerObjectComposite.h"

namespace {

// The plant takes the axis, parts and opening order of `from`, which is left empty.
void takeParts(FlowerObjectComposite& plant, FlowerObjectComposite& from) {
    plant.mainAxis = from.mainAxis;
    plant.segments = std::move(from.segments);
    plant.branches = std::move(from.branches);
    plant.openingOrder = from.openingOrder;
    for (auto& segment : plant.segments)
        if (FlowerObjectComposite* inner = asComposite(segment.node.get()))
            inner->parent = &plant;
    for (auto& branch : plant.branches)
        branch.composite->parent = &plant;
}

} // namespace

PlantArrangement::PlantArrangement(std::string step) : step_(std::move(step)) {}

PlantArrangement::~PlantArrangement() = default;

bool PlantArrangement::revises() const {
    AppController& controller = appController();
    const FlowerObjectNode* work = controller.workObject();
    return before_ && work && work->id == plantId_ &&
           controller.history().currentSerial() == serial_;
}

bool PlantArrangement::apply(const Arrange& arrange, std::string& message) {
    AppController& controller = appController();
    FlowerObjectComposite* plant = asComposite(controller.workObject());
    if (!plant || plant->mainAxis.size() < 2) {
        message = "Draw a plant's main axis first.";
        return false;
    }
    message.clear();
    const bool revising = revises();
    if (revising) {
        const std::unique_ptr<FlowerObjectNode> copy = before_->clone(controller.ids());
        takeParts(*plant, *asComposite(copy.get()));
    } else {
        before_ = asComposite(plant->clone(controller.ids()));
        plantId_ = plant->id;
    }
    const bool arranged = arrange(*plant);
    if (!arranged && !revising) {
        if (message.empty())
            message = "There is nothing to arrange on this plant.";
        return false;
    }
    // A revision that arranges nothing leaves the plant as it was before the step.
    if (revising)
        controller.noteRevision(kChangeWorkObject, step_);
    else
        controller.noteChange(kChangeWorkObject, step_);
    controller.commit();
    serial_ = controller.history().currentSerial();
    return arranged;
}
