#pragma once

#include "math/Matrix4.h"
#include "model/FlowerObjectNode.h"
#include "organs/Whorl.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

class FlowerTorusNode;

// A bud modelled by hand for a flower head: a flower head of its own with the same
// slots, each holding the organ as it stands in the bud. While the head opens, each
// organ turns and moves on the short way from its placement in the bud to its
// placement in the flower and changes shape from the bud's organ to the flower's,
// control point by control point. The bud never changes once made, so copies of a
// flower head share it.
class ModelledBud {
public:
    // Steps of the bloom at which blended organs are built and kept; placements move
    // smoothly between them.
    static constexpr int kShapeSteps = 32;

    explicit ModelledBud(std::unique_ptr<FlowerTorusNode> bud);
    ~ModelledBud();

    const FlowerTorusNode& bud() const { return *bud_; }
    // The same bud scaled about the head's base, for a head scaled as a whole.
    std::shared_ptr<const ModelledBud> scaled(double factor) const;

    // What keeps `bud` from being the bud of `flower`, in the user's words; empty when
    // every whorl has as many slots in both and the same slots hold organs.
    static std::string mismatch(const FlowerTorusNode& bud, const FlowerTorusNode& flower);
    // Gives `flower` a copy of `bud` (fresh ids from `ids`) to open from; the bud's
    // own modelled bud is left behind. What keeps it from doing so, in the user's
    // words, and nothing changes; empty when done.
    static std::string give(FlowerTorusNode& flower, const FlowerTorusNode& bud, IdCounter& ids);
    bool fits(const FlowerTorusNode& flower) const;

    // The slot's frame relative to the head while its whorl is `openness` open: the
    // frame that puts the organ where the bud has it at 0 (under the slot's own
    // rotation of the organ), exactly the slot's placement at 1. It moves rigidly.
    Matrix4 slotFrameAt(const FlowerPart& slot, int whorlCode, int index, double openness) const;
    // The organ's placement relative to the head then: its slot frame times the
    // organ's own rotation in the slot.
    Matrix4 organMatrixAt(const FlowerPart& slot, int whorlCode, int index,
                          double openness) const {
        return slotFrameAt(slot, whorlCode, index, openness) * slot.rotation;
    }
    // The organ to draw in the slot at `openness`: the flower's own when fully open
    // or when the bud's organ does not pair off with it point by point, otherwise a
    // blend of the two at the nearest shape step, kept while the flower's organ
    // draws the same (`flowerKey`, its drawing key).
    FlowerObjectNode& organAt(const FlowerPart& slot, int whorlCode, int index, double openness,
                              std::uint64_t flowerKey) const;

private:
    struct Blend {
        std::uint64_t flowerKey = 0;
        std::unique_ptr<FlowerObjectNode> organ;
    };

    std::unique_ptr<FlowerTorusNode> bud_;
    // By whorl code, slot index and shape step.
    mutable std::map<std::tuple<int, int, int>, Blend> blends_;
};
