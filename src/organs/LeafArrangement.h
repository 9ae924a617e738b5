#pragma once

#include "organs/Phyllotaxis.h"

class FlowerObjectComposite;
class FlowerObjectNode;
class IdCounter;

struct LeafArrangementSettings {
    static constexpr int kMostLeaves = 200;

    Phyllotaxis phyllotaxis;
    int leaves = 8;
    // The highest leaf's size over the lowest's.
    double sizeChange = 0.6;
    // How far a leaf leans away from the stem, in degrees.
    double petioleAngleDegrees = 55.0;
};

// Places copies of `leaf` along the plant's main axis, node by node from near the
// base to near the tip, round the axis by the phyllotaxis, each facing up the stem,
// with the composite attach operations. A plant without an axis is left alone;
// whether anything was placed. New parts take their ids from `ids`.
bool arrangeLeaves(FlowerObjectComposite& plant, const LeafArrangementSettings& settings,
                   const FlowerObjectNode& leaf, IdCounter& ids);
