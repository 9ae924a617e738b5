#include "organs/LeafArrangement.h"

#include "model/FlowerObjectComposite.h"
#include "organs/AxisAttachment.h"
#include "organs/AxisFrames.h"

#include <numbers>

namespace {

// Leaves stand between these shares of the axis.
constexpr double kLowest = 0.12;
constexpr double kHighest = 0.85;

} // namespace

bool arrangeLeaves(FlowerObjectComposite& plant, const LeafArrangementSettings& settings,
                   const FlowerObjectNode& leaf, IdCounter& ids) {
    if (plant.mainAxis.size() < 2 || plant.mainAxis.length() <= 0.0 || settings.leaves < 1)
        return false;
    const Phyllotaxis& phyllotaxis = settings.phyllotaxis;
    const int nodes = phyllotaxis.nodesFor(settings.leaves);
    const double lean = settings.petioleAngleDegrees * std::numbers::pi / 180.0;
    const AxisFrames frames(plant.mainAxis.points);
    for (int i = 0; i < settings.leaves; ++i) {
        const int node = phyllotaxis.nodeOf(i);
        const double u = nodes > 1 ? static_cast<double>(node) / (nodes - 1) : 0.0;
        const double position = kLowest + (kHighest - kLowest) * u;
        const AxisFrame frame = frames.at(position);
        std::unique_ptr<FlowerObjectNode> copy = leaf.clone(ids);
        copy->scale(1.0 + (settings.sizeChange - 1.0) * u);
        attachLeaning(plant, position, frame, frame.direction(phyllotaxis.azimuth(i), lean),
                      carrying(std::move(copy), ids));
    }
    return true;
}
