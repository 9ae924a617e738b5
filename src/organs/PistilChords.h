#pragma once

#include "math/PointSequence.h"

// A pistil outline paired into chords across it: entry r holds the two outline
// points of chord r (one on each side) and their midpoint. The midpoints run from
// the pistil's base to its top.
struct PistilChords {
    PointList sideA;
    PointList sideB;
    PointList midpoints;

    int size() const { return static_cast<int>(midpoints.size()); }
};

// Walks inwards from both ends of the outline. At each step the shortest of the
// three candidate chords wins: both ends advance, only the first, or only the last;
// the walk ends where the two ends meet, pairing the last point with itself.
PistilChords pairChords(const PointList& outline);
