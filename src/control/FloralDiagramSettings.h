#pragma once

#include "organs/FlowerTorusNode.h"

#include <array>
#include <cassert>

// The receptacle's whorls from its centre outwards: the order of the floral
// diagram's rings, of the dialog's rows and of every per-whorl array below.
inline constexpr std::array<int, 4> kWhorlsInsideOut = {kWhorlPistil, kWhorlStamen, kWhorlPetal,
                                                        kWhorlSepal};

inline constexpr bool isWhorl(int whorl) {
    return whorl >= kWhorlPetal && whorl <= kWhorlSepal;
}

// The ring (0 innermost .. 3 outermost) of a whorl code.
inline constexpr int ringOf(int whorl) {
    constexpr int kRings[4] = {2, 0, 1, 3}; // petal, pistil, stamen, sepal
    assert(isWhorl(whorl));
    return kRings[whorl];
}

// The floral diagram dialog's values that the diagram reads when it lays out
// slots: the organ size of each whorl and the divergence angle of a band. The
// dialog owns the record and its spin boxes write into it.
struct FloralDiagramSettings {
    static constexpr int kInitialSize = 10;
    static constexpr int kInitialRotationTenths = 1375;

    // Organ sizes in diagram pixels (radius units), inside out.
    std::array<int, 4> sizes{kInitialSize, kInitialSize, kInitialSize, kInitialSize};
    // The divergence angle in tenths of a degree.
    int rotationTenths = kInitialRotationTenths;

    int sizeOf(int whorl) const { return sizes[ringOf(whorl)]; }
    double rotationDegrees() const { return rotationTenths * 0.1; }
};

// What the dialog shows of a bound receptacle, inside out.
struct WhorlSummary {
    std::array<int, 4> counts{};
    std::array<bool, 4> indefinite{};
};
