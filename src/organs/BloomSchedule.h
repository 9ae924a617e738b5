#pragma once

#include "organs/Whorl.h"

#include <array>

// Where one whorl opens on its flower head's time line, 0..1.
struct OpeningSpan {
    double start = 0.0;
    double end = 1.0;

    bool operator==(const OpeningSpan&) const = default;
};

// How a flower head opens: each whorl over its own span of the time line, sepals
// first, then petals, stamens and pistils, overlapping. A flower head keeps its
// schedule in its record only when it differs from the usual one.
struct BloomSchedule {
    // Indexed by whorl code.
    std::array<OpeningSpan, 4> spans = usualSpans();

    static std::array<OpeningSpan, 4> usualSpans();
    bool isUsual() const { return spans == usualSpans(); }
    OpeningSpan& span(int whorlCode) { return spans[whorlCode]; }
    const OpeningSpan& span(int whorlCode) const { return spans[whorlCode]; }

    // How far the whorl has opened at time `time` of the flower head: 0 closed, 1 as
    // modelled, easing in and out over its span. A span of no length opens at once.
    double openness(int whorlCode, double time) const;

    bool operator==(const BloomSchedule&) const = default;
};
