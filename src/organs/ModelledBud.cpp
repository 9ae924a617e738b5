#include "organs/ModelledBud.h"

#include "math/RigidPlacement.h"
#include "organs/FlowerTorusNode.h"
#include "organs/OrganBlend.h"

#include <algorithm>
#include <cmath>

namespace {

// "petals" and the like, as the messages name a whorl.
std::string whorlWords(int code) {
    return std::string(organWordOf(code)) + "s";
}

// A copy of a flower head as a flower head, with ids from `ids`.
std::unique_ptr<FlowerTorusNode> copyOf(const FlowerTorusNode& head, IdCounter& ids) {
    return std::unique_ptr<FlowerTorusNode>(static_cast<FlowerTorusNode*>(head.clone(ids).release()));
}

} // namespace

ModelledBud::ModelledBud(std::unique_ptr<FlowerTorusNode> bud) : bud_(std::move(bud)) {}

ModelledBud::~ModelledBud() = default;

std::shared_ptr<const ModelledBud> ModelledBud::scaled(double factor) const {
    // The bud's objects are never picked or listed, so their ids need not be unique.
    IdCounter ids;
    std::unique_ptr<FlowerTorusNode> copy = copyOf(*bud_, ids);
    copy->scale(factor);
    return std::make_shared<const ModelledBud>(std::move(copy));
}

std::string ModelledBud::mismatch(const FlowerTorusNode& bud, const FlowerTorusNode& flower) {
    for (int code : kWhorlsInsideOut) {
        const SlotList& budSlots = bud.whorl(code).parts;
        const SlotList& flowerSlots = flower.whorl(code).parts;
        if (budSlots.size() != flowerSlots.size())
            return "The bud has " + std::to_string(budSlots.size()) + " slots for " +
                   whorlWords(code) + ", the flower " + std::to_string(flowerSlots.size()) + ".";
        for (std::size_t i = 0; i < budSlots.size(); ++i)
            if (budSlots[i]->holdsOrgan() != flowerSlots[i]->holdsOrgan())
                return "Slot " + std::to_string(i + 1) + " of the " + whorlWords(code) +
                       " holds an organ in " +
                       (budSlots[i]->holdsOrgan() ? "the bud" : "the flower") + " only.";
    }
    return {};
}

std::string ModelledBud::give(FlowerTorusNode& flower, const FlowerTorusNode& bud,
                              IdCounter& ids) {
    if (&bud == &flower)
        return "A flower head cannot be its own bud; choose another.";
    std::string message = mismatch(bud, flower);
    if (!message.empty())
        return message;
    std::unique_ptr<FlowerTorusNode> head = copyOf(bud, ids);
    // The bud is where the bloom starts; it does not open from a bud of its own.
    head->modelledBud.reset();
    flower.modelledBud = std::make_shared<const ModelledBud>(std::move(head));
    return {};
}

bool ModelledBud::fits(const FlowerTorusNode& flower) const {
    return mismatch(*bud_, flower).empty();
}

Matrix4 ModelledBud::slotFrameAt(const FlowerPart& slot, int whorlCode, int index,
                                 double openness) const {
    if (openness >= 1.0)
        return slot.basicTransAndRot;
    // The slot's frame moves, the organ's own rotation in it stays: that rotation may
    // mirror the organ, which no turn can blend, and the frame itself never does.
    const FlowerPart& budSlot = *bud_->whorl(whorlCode).parts.at(index);
    const Matrix4 budFrame = budSlot.organMatrix() * inverted(slot.rotation);
    return blendPlacements(budFrame, slot.basicTransAndRot, openness);
}

FlowerObjectNode& ModelledBud::organAt(const FlowerPart& slot, int whorlCode, int index,
                                       double openness, std::uint64_t flowerKey) const {
    FlowerObjectNode& organ = *slot.object;
    const FlowerPart& budSlot = *bud_->whorl(whorlCode).parts.at(index);
    if (openness >= 1.0 || !budSlot.object)
        return organ;
    const int step = static_cast<int>(std::lround(std::max(openness, 0.0) * kShapeSteps));
    const double share = static_cast<double>(step) / kShapeSteps;
    auto [entry, added] = blends_.try_emplace({whorlCode, index, step});
    Blend& blend = entry->second;
    if (added || blend.flowerKey != flowerKey) {
        blend.flowerKey = flowerKey;
        blend.organ = blendOrgans(*budSlot.object, organ, share);
    }
    return blend.organ ? *blend.organ : organ;
}
