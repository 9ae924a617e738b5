#include "organs/BloomSchedule.h"

#include <algorithm>

std::array<OpeningSpan, 4> BloomSchedule::usualSpans() {
    std::array<OpeningSpan, 4> spans;
    spans[kWhorlSepal] = {0.0, 0.45};
    spans[kWhorlPetal] = {0.25, 0.75};
    spans[kWhorlStamen] = {0.5, 0.9};
    spans[kWhorlPistil] = {0.6, 1.0};
    return spans;
}

double BloomSchedule::openness(int whorlCode, double time) const {
    if (time >= 1.0)
        return 1.0;
    const OpeningSpan& s = spans[isWhorl(whorlCode) ? whorlCode : kWhorlPetal];
    if (time >= s.end)
        return 1.0;
    if (time <= s.start)
        return 0.0;
    const double u = std::clamp((time - s.start) / (s.end - s.start), 0.0, 1.0);
    // Slow to start and slow to settle, as petals unfold.
    return u * u * (3.0 - 2.0 * u);
}
