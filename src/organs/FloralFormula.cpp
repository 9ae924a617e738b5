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

namespace {

// The ring (inside out) a formula letter names, or -1.
int ringOfLetter(char letter) {
    switch (letter) {
    case 'G': case 'g': return 0;
    case 'A': case 'a': return 1;
    case 'C': case 'c': return 2;
    case 'K': case 'k': return 3;
    default: return -1;
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

// The whole UTF-8 character that starts at `at`, so that a message quotes it intact.
std::string characterAt(std::string_view text, size_t at) {
    size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return std::string(text.substr(at, end - at));
}

} // namespace

FormulaReading readFloralFormula(std::string_view text, int largestCount) {
    FormulaReading reading;
    std::array<bool, 4> named{};
    size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < text.size() && isBlank(text[at]))
            ++at;
    };
    const auto failWith = [&](std::string message) {
        reading = FormulaReading{};
        reading.error = std::move(message);
        return reading;
    };
    skipBlanks();
    if (at == text.size())
        return failWith("The formula is empty; type for example K5 C5 A10 G1.");
    while (at < text.size()) {
        const char letter = text[at];
        const int ring = ringOfLetter(letter);
        if (ring < 0)
            return failWith("'" + characterAt(text, at) +
                            "' is not a whorl letter; use K, C, A and G.");
        if (named[ring])
            return failWith(std::string(1, letter) + " is given twice.");
        named[ring] = true;
        ++at;
        skipBlanks();
        FormulaWhorl& whorl = reading.whorls[ring];
        const std::string_view rest = text.substr(at);
        if (rest.starts_with(kInfinity) || rest.starts_with("inf") || rest.starts_with("INF")) {
            whorl.indefinite = true;
            at += rest.starts_with(kInfinity) ? std::string_view(kInfinity).size() : 3;
        } else {
            const size_t digits = at;
            long long count = 0;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9' &&
                   count <= largestCount)
                count = count * 10 + (text[at++] - '0');
            if (at == digits)
                return failWith(std::string(1, letter) + " needs a number of organs or \u221e.");
            if (count > largestCount)
                return failWith(std::string(1, letter) + ": at most " +
                                std::to_string(largestCount) + " organs per whorl.");
            whorl.count = static_cast<int>(count);
        }
        if (at < text.size() && !isBlank(text[at]) && ringOfLetter(text[at]) < 0)
            return failWith("'" + std::string(text.substr(at)) + "' cannot be read after " +
                            std::string(1, letter) + ".");
        skipBlanks();
    }
    return reading;
}
