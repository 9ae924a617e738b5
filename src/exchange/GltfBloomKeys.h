#pragma once

#include "math/Vector3.h"
#include "organs/Bloom.h"

#include <array>
#include <map>
#include <vector>

class FlowerTorusNode;

// The keys of one slot's bloom, over its whorl's span of the flower head's own time
// line: the slot node's rotation at each key and, for a head with a modelled bud,
// its translation and the weight of the organ's bud shape (1 in the bud, 0 open).
struct SlotBloomKeys {
    std::vector<double> ownTimes;
    // Unit quaternions (x, y, z, w), each on the near side of the one before, so
    // that the turn between two keys is the short one.
    std::vector<std::array<double, 4>> rotations;
    // Empty when the slot only turns about its origin.
    std::vector<Vector3> translations;
    // Empty without a modelled bud.
    std::vector<double> budWeights;
};

// Samples the bloom of flower heads' slots for an animation, working out each
// head's bud once.
class GltfBloomKeys {
public:
    explicit GltfBloomKeys(int keysPerWhorl) : keys_(keysPerWhorl) {}

    // Whether the slot's node can carry the bloom as translation and rotation: its
    // placement, and with a modelled bud the bud's, is rigid, and the organ's own
    // rotation does not move it.
    static bool animatable(const FlowerTorusNode& torus, int whorl, int index);
    SlotBloomKeys of(const FlowerTorusNode& torus, int whorl, int index);

private:
    int keys_;
    std::map<const FlowerTorusNode*, FlowerBud> buds_;
};
