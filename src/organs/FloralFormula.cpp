#include "organs/FloralFormula.h"

#include "organs/FlowerTorusNode.h"

#include <array>
#include <utility>

namespace {

// Botanists read counts beyond a dozen as "many".
constexpr size_t kLargestCountedWhorl = 12;
constexpr const char* kInfinity = "\u221e";

} // namespace

std::string floralFormula(const FlowerTorusNode& receptacle) {
    // The notation's order, from the outside in.
    static constexpr std::array<std::pair<int, char>, 4> kLetters{
        {{kWhorlSepal, 'K'}, {kWhorlPetal, 'C'}, {kWhorlStamen, 'A'}, {kWhorlPistil, 'G'}}};
    std::string formula;
    for (const auto& [code, letter] : kLetters) {
        const Whorl& whorl = receptacle.whorl(code);
        const size_t count = whorl.parts.size();
        if (count == 0)
            continue;
        if (!formula.empty())
            formula += ' ';
        formula += letter;
        const bool many = whorl.isBand() || count > kLargestCountedWhorl;
        formula += many ? std::string(kInfinity) : std::to_string(count);
    }
    return formula;
}
