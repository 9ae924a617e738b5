#include "model/AxisOpeningOrder.h"

#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// A flower head and where it stands: the positions along each axis from the
// plant's down to its own.
struct PlacedHead {
    int id;
    std::vector<double> path;
};

void collectHeads(const FlowerObjectComposite& composite, std::vector<double>& path,
                  std::vector<PlacedHead>& heads) {
    for (const auto& branch : composite.branches) {
        path.push_back(branch.position);
        collectHeads(*branch.composite, path, heads);
        path.pop_back();
    }
    for (const auto& segment : composite.segments) {
        path.push_back(segment.start);
        if (const auto* nested = asComposite(segment.node.get()))
            collectHeads(*nested, path, heads);
        else if (segment.node->kind == kKindTorus)
            heads.push_back({segment.node->id, path});
        path.pop_back();
    }
}

} // namespace

AxisOpeningOrder::AxisOpeningOrder(const FlowerObjectComposite& plant, bool topFirst) {
    addPlant(plant, topFirst);
}

void AxisOpeningOrder::addPlant(const FlowerObjectComposite& plant, bool topFirst) {
    if (addKeptOrder(plant))
        return;
    std::vector<PlacedHead> heads;
    std::vector<double> path;
    collectHeads(plant, path, heads);
    std::stable_sort(heads.begin(), heads.end(),
                     [](const PlacedHead& a, const PlacedHead& b) { return a.path < b.path; });
    int rank = 0;
    const int last = std::max(1, static_cast<int>(heads.size()) - 1);
    for (std::size_t i = 0; i < heads.size(); ++i) {
        if (i > 0 && heads[i].path != heads[i - 1].path)
            rank = static_cast<int>(i);
        const double place = static_cast<double>(rank) / last;
        places_[heads[i].id] = topFirst ? 1.0 - place : place;
    }
}

bool AxisOpeningOrder::addKeptOrder(const FlowerObjectComposite& plant) {
    const std::vector<const FlowerObjectNode*> heads = flowerHeads(plant);
    std::vector<int> ordered;
    for (const int place : plant.openingOrder)
        if (place >= 0 && place < static_cast<int>(heads.size()))
            ordered.push_back(heads[static_cast<std::size_t>(place)]->id);
    // An order that no longer names every head (heads added by hand) gives way to
    // the axes' order.
    if (ordered.empty() || ordered.size() != heads.size())
        return false;
    const double last = std::max<std::size_t>(1, ordered.size() - 1);
    for (std::size_t rank = 0; rank < ordered.size(); ++rank)
        places_[ordered[rank]] = static_cast<double>(rank) / last;
    return true;
}

void AxisOpeningOrder::addPlantsOf(const SceneNode& shown, bool topFirst) {
    if (const auto* scene = dynamic_cast<const SceneRoot*>(&shown)) {
        for (const SceneRoot::Plant& plant : scene->plants)
            addPlant(*plant.composite, topFirst);
    } else if (const auto* plant = dynamic_cast<const FlowerObjectComposite*>(&shown)) {
        addPlant(*plant, topFirst);
    }
}

double AxisOpeningOrder::placeOf(int flowerHeadId) const {
    const auto found = places_.find(flowerHeadId);
    return found == places_.end() ? -1.0 : found->second;
}
