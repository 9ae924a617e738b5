#pragma once

#include "math/Matrix4.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectComposite.h"
#include "model/NodeRecord.h"

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// The records of the containers (a composite's segments and branches, a scene's
// plants) keep each field of their parts as a list of its own: a heading with the
// count, then one value a line. The children follow all the lists, so a reader
// fills the fields first and learns the number of parts last.

// One such list: its heading (a file keyword) and the field of each part it holds.
template <typename Part, typename Value> struct PartList {
    const char* heading;
    Value Part::*field;
};

// "%f\n" for a position, sixteen numbers for a matrix.
void writeListValue(TextWriter& out, double value);
void writeListValue(TextWriter& out, const Matrix4& value);
bool readListValue(TextReader& in, double& value);
bool readListValue(TextReader& in, Matrix4& value);
// The shortest text of a value, which bounds the count a file can claim.
template <typename Value>
constexpr size_t kMinListValueBytes = std::is_same_v<Value, double> ? 2 : 32;

template <typename Part, typename Value>
void writePartList(TextWriter& out, const PartList<Part, Value>& list,
                   const std::vector<Part>& parts) {
    out.format("%s %d\n", list.heading, static_cast<int>(parts.size()));
    for (const Part& part : parts)
        writeListValue(out, part.*list.field);
}

// A children block: "<heading> %d\n", then each child as "child index %d\n" and its
// typed entry, then "end <heading>\n\n".
template <typename Part, typename Child>
void writeChildren(TextWriter& out, const char* heading, const std::vector<Part>& parts,
                   std::unique_ptr<Child> Part::*child, const WriteContext& context) {
    out.format("%s %d\n", heading, static_cast<int>(parts.size()));
    for (size_t i = 0; i < parts.size(); ++i) {
        out.format("child index %d\n", static_cast<int>(i));
        writeTypedRecord(out, *(parts[i].*child), context);
    }
    out.format("end %s\n\n", heading);
}

// Reads a children block (headings and the children's closing lines are read, not
// compared). Composite children get `parent` as their parent link; with
// `compositesOnly` an entry of another kind fails the read.
bool readChildren(RecordInput& input, FlowerObjectComposite* parent, bool compositesOnly,
                  std::vector<std::unique_ptr<FlowerObjectNode>>& children);

// Reads a container's lists into its parts and then hands them their children.
template <typename Part> class PartListReader {
public:
    explicit PartListReader(std::vector<Part>& parts) : parts_(parts) {}

    // Reads one list into the field of the first parts, adding parts for a longer list.
    template <typename Value> bool read(TextReader& in, const PartList<Part, Value>& list) {
        std::string heading;
        int count = 0;
        if (!in.word(heading) || !in.integer(count) ||
            !in.plausibleCount(count, kMinListValueBytes<Value>))
            return false;
        const auto length = static_cast<size_t>(count);
        parts_.resize(std::max(parts_.size(), length));
        lengths_.push_back(length);
        for (size_t i = 0; i < length; ++i)
            if (!readListValue(in, parts_[i].*list.field))
                return false;
        return true;
    }

    // Gives each part its child, in order; false when a list read before has another
    // length than the number of children.
    template <typename Child>
    bool give(std::vector<std::unique_ptr<FlowerObjectNode>> children,
              std::unique_ptr<Child> Part::*child) {
        if (!std::all_of(lengths_.begin(), lengths_.end(),
                         [&](size_t length) { return length == children.size(); }))
            return false;
        parts_.resize(children.size());
        for (size_t i = 0; i < children.size(); ++i) {
            if constexpr (std::is_same_v<Child, FlowerObjectComposite>)
                parts_[i].*child = asComposite(std::move(children[i]));
            else
                parts_[i].*child = std::move(children[i]);
        }
        return true;
    }

private:
    std::vector<Part>& parts_;
    std::vector<size_t> lengths_;
};
