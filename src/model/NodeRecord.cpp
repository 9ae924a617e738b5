#include "model/NodeRecord.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"

#include <string>

RecordReaderFn RecordReaderTable::forKeyword(std::string_view keyword) const {
    if (keyword == "Pistil")
        return pistil;
    if (keyword == "Stamen")
        return stamen;
    if (keyword == "Petal")
        return petal;
    if (keyword == "Torus")
        return torus;
    if (keyword == "Stem")
        return stem;
    if (keyword == "Sketch")
        return sketch;
    if (keyword == "Composit")
        return composite;
    return nullptr;
}

const char* recordKeyword(const FlowerObjectNode& node) {
    switch (node.kind) {
    case kKindPistil:
        return "Pistil";
    case kKindStamen:
        return "Stamen";
    case kKindPetal:
        return "Petal";
    case kKindTorus:
        return "Torus";
    case kKindStem:
        return "Stem";
    case kKindSketch:
        return "Sketch";
    default:
        return "Composit";
    }
}

void writeTypedRecord(TextWriter& out, const FlowerObjectNode& node) {
    const int number = node.id;
    out.format("%s %d\n\n", recordKeyword(node), number);
    node.save(out);
    out.format("end %d\n\n", number);
}

std::unique_ptr<FlowerObjectNode> readRecordBody(RecordInput& input, std::string_view keyword) {
    const RecordReaderFn reader = input.readers.forKeyword(keyword);
    if (!reader) {
        input.in.fail("unknown record keyword '" + std::string(keyword) + "'");
        return nullptr;
    }
    if (input.depth >= RecordInput::kMaxDepth) {
        input.in.fail("objects are nested too deeply");
        return nullptr;
    }
    ++input.depth;
    std::unique_ptr<FlowerObjectNode> node = reader(input);
    --input.depth;
    if (!input.in.ok())
        return nullptr;
    return node;
}

bool readRecordEnd(TextReader& in, int number) {
    std::string word;
    int closing = 0;
    if (!in.word(word) || !in.integer(closing))
        return false;
    return word == "end" && closing == number;
}

std::unique_ptr<FlowerObjectNode> readTypedRecord(RecordInput& input) {
    std::string keyword;
    int number = 0;
    if (!input.in.word(keyword) || !input.in.integer(number))
        return nullptr;
    std::unique_ptr<FlowerObjectNode> node = readRecordBody(input, keyword);
    if (!node || !readRecordEnd(input.in, number))
        return nullptr;
    return node;
}
