#pragma once

#include "organs/Phyllotaxis.h"

class FlowerObjectComposite;
class FlowerObjectNode;
class IdCounter;
struct Parameters;

// The botanical types of inflorescence a plant's main axis can be made into.
//   Raceme: flowers on pedicels up the axis, opening from the base up.
//   Spike: a raceme of flowers without pedicels.
//   Umbel: pedicels from one node at the axis tip, the outer flowers first.
//   Corymb: a raceme whose lower pedicels are longer, so the flowers end at about
//     one height; the outer (lower) flowers first.
//   Panicle: a raceme of racemes, the side branches shorter towards the tip.
//   Cyme (dichasium): a flower ends the axis and opens first; below it two opposite
//     branches each end in a flower and branch again the same way.
//   Head (capitulum): flowers without pedicels crowded round the axis tip, the
//     outer ones first.
enum class InflorescenceType { Raceme, Spike, Umbel, Corymb, Panicle, Cyme, Head };
inline constexpr int kInflorescenceTypes = 7;

struct InflorescenceSettings {
    static constexpr int kMostFlowers = 200;

    InflorescenceType type = InflorescenceType::Raceme;
    int flowers = 12;
    // Where the flowers stand round the axis; a cyme's pairs are always opposite.
    Phyllotaxis phyllotaxis;
    // The lowest pedicel's length, as a share of the main axis length.
    double pedicelLength = 0.15;
    // The highest pedicel's length over the lowest's.
    double pedicelChange = 1.0;
    // The lowest (or outermost) flower's width, as a share of the main axis length:
    // the flower is scaled to it, whatever its own size.
    double flowerSize = 0.12;
    // The highest (or innermost) flower's size over the lowest's.
    double sizeChange = 1.0;
};

// Places copies of `flower` on pedicels (stems) along the plant's main axis by the
// type's rule, with the composite attach operations, and keeps the order the new
// flowers open in as the plant's opening order. A plant without an axis to place
// them on is left alone; whether anything was placed. Every new part takes its id
// from `ids`; pedicels are stems built with `parameters`.
bool buildInflorescence(FlowerObjectComposite& plant, const InflorescenceSettings& settings,
                        const FlowerObjectNode& flower, const Parameters& parameters,
                        IdCounter& ids);
