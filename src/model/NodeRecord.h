#pragma once

#include "model/FlowerObjectNode.h"

#include <memory>
#include <string_view>

class TextReader;
class TextWriter;
struct ReadContext;
struct RecordInput;
struct WriteContext;

// Reads the body of one record (after its keyword and number) into a new object.
using RecordReaderFn = std::unique_ptr<FlowerObjectNode> (*)(RecordInput&);

// The reader of every record keyword. The library module fills it; the containers
// read their children through it without knowing the organ classes.
struct RecordReaderTable {
    RecordReaderFn pistil = nullptr;
    RecordReaderFn stamen = nullptr;
    RecordReaderFn petal = nullptr;
    RecordReaderFn torus = nullptr;
    RecordReaderFn stem = nullptr;
    RecordReaderFn sketch = nullptr;
    RecordReaderFn composite = nullptr;

    // The reader for a keyword, or null for an unknown one.
    RecordReaderFn forKeyword(std::string_view keyword) const;
};

// What every record reader works with: the tokenizer, the reader table for child
// entries, the read context (ids, parameters, textures) and the nesting depth,
// bounded so that a hostile file cannot exhaust the stack.
struct RecordInput {
    static constexpr int kMaxDepth = 256;

    TextReader& in;
    const RecordReaderTable& readers;
    const ReadContext& context;
    int depth = 0;
};

// The type keyword of an object's record, chosen by its class; a kind without a
// keyword of its own is written as a composite.
const char* recordKeyword(const FlowerObjectNode& node);
const char* recordKeyword(int kind);

// A child entry: the keyword, " %d\n\n" with the id, the body, "end %d\n\n".
void writeTypedRecord(TextWriter& out, const FlowerObjectNode& node, const WriteContext& context);

// Reads a child entry. Null when the keyword is unknown (the reader then fails),
// when the body cannot be read, or when the closing "end" line is missing or names
// another number (the reader does not fail for that: the caller decides).
std::unique_ptr<FlowerObjectNode> readTypedRecord(RecordInput& input);
// Reads a record body with the reader for `keyword`, counting the nesting depth.
std::unique_ptr<FlowerObjectNode> readRecordBody(RecordInput& input, std::string_view keyword);
// Reads "end" and a number; true when both match.
bool readRecordEnd(TextReader& in, int number);
