#include "organs/PistilChords.h"

PistilChords pairChords(const PointList& outline) {
    PistilChords chords;
    if (outline.empty())
        return chords;
    const PointList& P = outline;
    size_t i = 0;
    size_t k = P.size() - 1;
    for (;;) {
        chords.sideA.push_back(P[i]);
        chords.sideB.push_back(P[k]);
        chords.midpoints.push_back((P[i] + P[k]) * 0.5);
        if (i == k)
            break;
        if (i + 1 == k) {
            // The next pass pairs the remaining point with itself and stops.
            ++i;
        } else if (i + 2 == k) {
            ++i;
            --k;
        } else {
            const double d1 = distance(P[i + 1], P[k - 1]);
            const double d2 = distance(P[i + 1], P[k]);
            const double d3 = distance(P[i], P[k - 1]);
            // Ties go to the chord named first: d1 before d3, d2 before d3.
            if (d2 > d1) {
                if (d1 <= d3) {
                    ++i;
                    --k;
                } else {
                    --k;
                }
            } else if (d2 <= d3) {
                ++i;
            } else {
                --k;
            }
        }
    }
    return chords;
}
