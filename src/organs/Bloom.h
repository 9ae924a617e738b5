#pragma once

#include "math/Matrix4.h"
#include "organs/Whorl.h"

#include <array>
#include <vector>

class FlowerTorusNode;

// The turn that closes one organ into the bud: rigid, about the organ's base, in
// the flower head's frame.
struct ClosingTurn {
    Vector3 base;
    // Unit; the turn closes the organ for a positive angle.
    Vector3 axis;
    double angle = 0.0;

    // The turn that leaves the organ `openness` open (0 closed, 1 as modelled).
    Matrix4 at(double openness) const;
};

// A flower head's bud: every organ turned about its base until it leans in over the
// receptacle towards the flower's axis, whorl by whorl from the inside out, each
// organ leaning no further in than keeps it clear of the receptacle and of the
// closed organs of the whorls inside it. Sepals thus wrap the petals, the petals the
// stamens and pistils.
class FlowerBud {
public:
    explicit FlowerBud(const FlowerTorusNode& flower);

    // The turn of the organ in slot `index` of whorl `whorlCode`; no turn for an
    // empty slot or one the bud does not know.
    const ClosingTurn& turn(int whorlCode, int index) const;
    // The slot's frame relative to the flower head while `openness` open: its
    // placement turned about the organ's base, exactly the placement when fully open.
    Matrix4 slotFrameAt(const FlowerPart& slot, int whorlCode, int index, double openness) const;
    // The organ's placement relative to the flower head then: its slot frame times the
    // organ's own rotation in the slot.
    Matrix4 organMatrixAt(const FlowerPart& slot, int whorlCode, int index,
                          double openness) const {
        return slotFrameAt(slot, whorlCode, index, openness) * slot.rotation;
    }

private:
    // Indexed by whorl code, then slot index.
    std::array<std::vector<ClosingTurn>, 4> turns_;
};
