#pragma once

#include "math/Matrix4.h"
#include "math/PointSequence.h"
#include "model/FlowerObjectNode.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <memory>
#include <vector>

// The whorl codes of a receptacle's slots. A slot keeps its code in the library
// file, so the values are fixed.
enum WhorlCode : int {
    kWhorlPetal = 0,
    kWhorlPistil = 1,
    kWhorlStamen = 2,
    kWhorlSepal = 3,
    kWhorlNone = 8, // a slot constructed without a whorl
};

// The whorls from the receptacle's centre outwards: the order of the file's slot
// lists, of most walks over the slots, of the floral diagram's rings and of the
// dialog's rows.
inline constexpr std::array<int, 4> kWhorlsInsideOut = {kWhorlPistil, kWhorlStamen, kWhorlPetal,
                                                        kWhorlSepal};

inline constexpr bool isWhorl(int code) {
    return code >= kWhorlPetal && code <= kWhorlSepal;
}

// The word for one organ of the whorl: "petal", "pistil", "stamen" or "sepal" (each
// makes its plural with an "s").
inline constexpr const char* organWordOf(int code) {
    constexpr const char* kWords[4] = {"petal", "pistil", "stamen", "sepal"};
    assert(isWhorl(code));
    return kWords[code];
}

// The ring (0 innermost .. 3 outermost) of a whorl code.
inline constexpr int ringOf(int code) {
    constexpr int kRings[4] = {2, 0, 1, 3}; // petal, pistil, stamen, sepal
    assert(isWhorl(code));
    return kRings[code];
}

// One organ slot of a receptacle: a place on its surface given by an azimuth and a
// position along the profile, and the organ standing there, if any.
struct FlowerPart {
    std::unique_ptr<FlowerObjectNode> object;
    // The slot's placement on the receptacle.
    Matrix4 basicTransAndRot;
    // The organ's own orientation inside the slot.
    Matrix4 rotation;
    double theta = 0.0;  // radians about the receptacle axis
    double radius = 0.0; // along the profile, in 1/300ths of its length
    int size = 0;
    // The code the slot was made with (kept as the file has it; the list the slot
    // is in is what counts for the layout).
    int whorl = kWhorlNone;
    int index = -1;

    // A filled slot: one that holds an organ.
    bool holdsOrgan() const { return object != nullptr; }
    // The organ's placement relative to the receptacle.
    Matrix4 organMatrix() const { return basicTransAndRot * rotation; }
};

using SlotList = std::vector<std::unique_ptr<FlowerPart>>;

// How a whorl's slots are spread: evenly on a ring, or as an equal-area spiral over
// a band of the receptacle (an "indefinite" whorl). The file keeps the number.
enum class WhorlLayout : std::uint8_t { Ring = 0, Band = 1 };

// One whorl of a receptacle: its slots in order and how they are laid out. The
// layouts place the slots on a receptacle profile given as points in the x-y plane
// (x the distance from the axis), positions along it in 1/300ths of its length.
struct Whorl {
    // The slots, in order.
    SlotList parts;
    WhorlLayout layout = WhorlLayout::Ring;

    bool isBand() const { return layout == WhorlLayout::Band; }

    // Spreads the slots evenly on the ring at profile position `ringRadius`, the
    // first at azimuth `phase`. A centred ring stands its first slot on the axis
    // (radius 0) and spreads the others around the full turn.
    void layoutRing(const PointList& profile, bool centred, double ringRadius, double phase);
    // Appends slots of whorl `code` for organs of size `size` (radius units) over
    // the band between profile positions `inner` and `outer`, so that each covers an
    // equal share of the band's surface, successive ones turned by `divergence`
    // degrees: a spiral. A pistil band starts with an organ at its inner edge; any
    // other band places its first organ once it has gathered one organ's area.
    // A band of one unit or less, or organs of no size, add nothing.
    void layoutBand(int code, const PointList& profile, double inner, double outer, int size,
                    double divergence);
};
