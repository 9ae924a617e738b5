#include "model/ContainerRecord.h"

#include "model/RecordBlocks.h"

namespace {

// "Composit 1\n\nColor ...": the shortest text a child entry can have.
constexpr size_t kMinChildBytes = 64;

} // namespace

void writeListValue(TextWriter& out, double value) {
    out.format("%f\n", value);
}

void writeListValue(TextWriter& out, const Matrix4& value) {
    value.writeText(out);
}

bool readListValue(TextReader& in, double& value) {
    return in.real(value);
}

bool readListValue(TextReader& in, Matrix4& value) {
    return value.readText(in);
}

bool readChildren(RecordInput& input, FlowerObjectComposite* parent, bool compositesOnly,
                  std::vector<std::unique_ptr<FlowerObjectNode>>& children) {
    TextReader& in = input.in;
    int count = 0;
    if (!skipWords(in, 1) || !in.integer(count) || !in.plausibleCount(count, kMinChildBytes))
        return false;
    const std::string_view compositeKeyword = recordKeyword(kKindComposite);
    for (int i = 0; i < count; ++i) {
        std::string keyword;
        int index = 0;
        int number = 0;
        // "child index %d", the entry's keyword and number.
        if (!skipWords(in, 2) || !in.integer(index) || !in.word(keyword) || !in.integer(number))
            return false;
        if (compositesOnly && keyword != compositeKeyword) {
            in.fail("a branch must be a " + std::string(compositeKeyword) + " entry, not '" +
                    keyword + "'");
            return false;
        }
        std::unique_ptr<FlowerObjectNode> child = readRecordBody(input, keyword);
        // The closing "end %d" is read, not compared.
        if (!child || !skipWords(in, 1) || !in.integer(number))
            return false;
        if (FlowerObjectComposite* composite = asComposite(child.get()))
            composite->parent = parent;
        children.push_back(std::move(child));
    }
    return skipWords(in, 2);
}
