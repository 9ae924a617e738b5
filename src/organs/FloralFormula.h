#pragma once

#include <array>
#include <string>
#include <string_view>

class FlowerTorusNode;

// The floral formula of a flower head in the usual botanical notation: sepals K,
// petals C, stamens A and pistils G, each letter followed by its whorl's number of
// slots, separated by blanks ("K5 C5 A10 G1"). A whorl laid out as an indefinite
// band, or holding more than twelve slots, counts as "∞"; a whorl without slots is
// left out. UTF-8.
std::string floralFormula(const FlowerTorusNode& receptacle);

// What a typed formula asks of one whorl: a number of organs on its ring, or an
// indefinite band.
struct FormulaWhorl {
    int count = 0;
    bool indefinite = false;
};

// A formula read from text, per whorl inside out (pistil, stamen, petal, sepal,
// as kWhorlsInsideOut); a whorl the text does not name has no organs. `error` says
// what could not be read; empty when the whole text was read.
struct FormulaReading {
    std::array<FormulaWhorl, 4> whorls{};
    std::string error;

    bool ok() const { return error.empty(); }
};

// Reads what floralFormula writes, and what a person types for it: the letters K,
// C, A and G (either case) in any order, each at most once, each followed by a
// count from 0 to `largestCount` or by "∞" or "inf" for indefinite; blanks between
// whorls and between a letter and its count are optional.
FormulaReading readFloralFormula(std::string_view text, int largestCount);
