#include "model/NodeRecord.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"

#include <string>

namespace {

// Each record keyword with the kind it stands for and its reader in the table.
struct RecordKeyword {
    const char* keyword;
    int kind;
    RecordReaderFn RecordReaderTable::*reader;
};

constexpr RecordKeyword kRecordKeywords[] = {
    {"Pistil", kKindPistil, &RecordReaderTable::pistil},
    {"Stamen", kKindStamen, &RecordReaderTable::stamen},
    {"Petal", kKindPetal, &RecordReaderTable::petal},
    {"Torus", kKindTorus, &RecordReaderTable::torus},
    {"Stem", kKindStem, &RecordReaderTable::stem},
    {"Sketch", kKindSketch, &RecordReaderTable::sketch},
    {"Composit", kKindComposite, &RecordReaderTable::composite},
};

} // namespace

RecordReaderFn RecordReaderTable::forKeyword(std::string_view keyword) const {
    for (const RecordKeyword& entry : kRecordKeywords)
        if (keyword == entry.keyword)
            return this->*entry.reader;
    return nullptr;
}

const char* recordKeyword(int kind) {
    for (const RecordKeyword& entry : kRecordKeywords)
        if (entry.kind == kind)
            return entry.keyword;
    return recordKeyword(kKindComposite);
}

const char* recordKeyword(const FlowerObjectNode& node) {
    return recordKeyword(node.kind);
}

void writeTypedRecord(TextWriter& out, const FlowerObjectNode& node, const WriteContext& context) {
    const int number = node.id;
    out.format("%s %d\n\n", recordKeyword(node), number);
    node.save(out, context);
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
