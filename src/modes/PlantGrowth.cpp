#include "modes/PlantGrowth.h"

#include "control/AppController.h"
#include "interaction/Stroke.h"
#include "model/FlowerObjectComposite.h"
#include "organs/AxisAttachment.h"

namespace {

// The side a new branch turns to. A stroke without a chord has no across, and then
// faces the viewer too.
Vector3 branchSide(const Stroke& stroke, const Vector3& planeNormal) {
    if (appController().settings().zDirection != 0)
        return planeNormal;
    Vector3 side = cross(stroke.back() - stroke.front(), planeNormal);
    if (side.length() == 0.0)
        return planeNormal;
    side = unit(side);
    return side.y < 0.0 ? side * -1.0 : side;
}

} // namespace

std::unique_ptr<FlowerObjectComposite> asPlant(std::unique_ptr<FlowerObjectNode> object) {
    if (asComposite(object.get()))
        return std::unique_ptr<FlowerObjectComposite>(
            static_cast<FlowerObjectComposite*>(object.release()));
    return carrying(std::move(object), appController().ids());
}

std::string growFromAxis(FlowerObjectComposite& plant, std::unique_ptr<FlowerObjectNode> part,
                         const Stroke& stroke, const Vector3& planeNormal, bool atTip,
                         double axisLength) {
    if (atTip) {
        plant.appendAlongAxis(std::move(part), stroke, planeNormal);
        return "Extend plant";
    }
    const double total = plant.mainAxis.length();
    const double t = total > 0.0 ? axisLength / total : 0.0;
    plant.addBranch(t, asPlant(std::move(part)), stroke, branchSide(stroke, planeNormal));
    return "Grow branch";
}
