#pragma once

#include "organs/Whorl.h"

#include <array>

// The floral diagram dialog's values that the diagram reads when it lays out
// slots: the organ size of each whorl and the divergence angle of a band. The
// dialog owns the record and its spin boxes write into it.
struct FloralDiagramSettings {
    static constexpr int kInitialSize = 10;
    static constexpr int kInitialRotationTenths = 1375;
    // The most organs a whorl's count takes, typed or in a formula.
    static constexpr int kLargestCount = 1000;

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
