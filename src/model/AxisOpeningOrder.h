#pragma once

#include "model/BloomTime.h"

#include <unordered_map>

class FlowerObjectComposite;
class SceneNode;

// The opening order of plants. A plant built as an inflorescence of a known type
// opens in the order it keeps (acropetal, centrifugal, from the rim inwards); a
// plant without an order of its own opens its flower heads in the order they stand
// along the axes, the lowest first (a head on a branch comes where its branch leaves
// the axis, then by its place along the branch), or the topmost first when
// reversed. Heads spread evenly over the order by rank; heads at the same place open
// together.
class AxisOpeningOrder : public OpeningOrder {
public:
    AxisOpeningOrder() = default;
    AxisOpeningOrder(const FlowerObjectComposite& plant, bool topFirst);

    // Adds the heads of another plant, ordered within that plant alone: the plants of
    // a scene all open at once.
    void addPlant(const FlowerObjectComposite& plant, bool topFirst);
    // Adds every plant `shown` is or holds: a scene's plants, or a plant itself.
    void addPlantsOf(const SceneNode& shown, bool topFirst);
    double placeOf(int flowerHeadId) const override;
    std::size_t size() const { return places_.size(); }

private:
    // Places the heads of a plant that keeps its own opening order; false, with
    // nothing placed, when it keeps none that names each of its heads once.
    bool addKeptOrder(const FlowerObjectComposite& plant);

    std::unordered_map<int, double> places_;
};
