#include "organs/OrganRecords.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/Parameters.h"
#include "model/RecordBlocks.h"

#include <algorithm>

namespace {

int wordCount(std::string_view text) {
    int count = 0;
    bool inWord = false;
    for (const char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\t' || c == '\r';
        if (!space && !inWord)
            ++count;
        inWord = !space;
    }
    return count;
}

} // namespace

bool readHeading(TextReader& in, std::string_view heading) {
    return skipWords(in, wordCount(heading));
}

void writeAppearance(TextWriter& out, std::string_view heading, const FlowerObjectNode& node,
                     const WriteContext& context) {
    out.text(heading);
    writeColourBlock(out, node);
    writeTextureBlock(out, node, context);
}

bool readAppearance(const RecordInput& input, std::string_view heading, FlowerObjectNode& node) {
    return readHeading(input.in, heading) && readNodeColours(input.in, node) &&
           readTextureBlock(input.in, input.context, node);
}

bool readLabelled(TextReader& in, int& value) {
    return skipWords(in, 1) && in.integer(value);
}

bool readLabelled(TextReader& in, double& value) {
    return skipWords(in, 1) && in.real(value);
}

int clampedResolution(int value) {
    return std::clamp(value, Parameters::kMinResolution, Parameters::kMaxResolution);
}

bool readLabelledResolution(TextReader& in, int& value) {
    if (!readLabelled(in, value))
        return false;
    value = clampedResolution(value);
    return true;
}
