#pragma once

// How organs stand around an axis, node after node from the base: one per node
// turned by a divergence angle (spiral, alternate), one per node turned by half a
// turn (distichous), two facing each other at every node, all nodes alike
// (opposite) or each pair turned a quarter turn from the one below (decussate), or
// several evenly round each node, each whorl turned half a step from the one below
// (whorled).
enum class PhyllotaxisKind { Spiral, Distichous, Opposite, Decussate, Whorled };

struct Phyllotaxis {
    static constexpr double kGoldenDivergence = 137.5; // degrees

    PhyllotaxisKind kind = PhyllotaxisKind::Spiral;
    // The turn from one organ to the next of a spiral, in degrees.
    double divergenceDegrees = kGoldenDivergence;
    // The organs of one whorl, at least 2.
    int perWhorl = 3;

    int organsPerNode() const;
    // The node the organ `index` (counted from the base) stands at.
    int nodeOf(int index) const { return index / organsPerNode(); }
    // The number of nodes `organs` organs take.
    int nodesFor(int organs) const;
    // The organ's direction about the axis, in radians from the axis frame's normal.
    double azimuth(int index) const;
};
