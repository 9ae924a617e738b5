#pragma once

#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "organs/Grid.h"
#include "support/ModelRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

// The record body a node writes, with no texture cache and no library folder.
inline std::string recordOf(const FlowerObjectNode& node) {
    TextWriter out;
    node.save(out, WriteContext{});
    return out.take();
}

// Reads a record body with the reader for `keyword`, with ids of its own, the
// built-in parameter values and no texture cache; null when it fails.
template <typename Node>
std::unique_ptr<Node> readRecord(const std::string& text, std::string_view keyword) {
    TextReader in(text);
    OwnModelRecords records;
    const ReadContext context = records.reading();
    RecordInput input{in, libraryReaders(), context};
    std::unique_ptr<FlowerObjectNode> node = readRecordBody(input, keyword);
    return std::unique_ptr<Node>(static_cast<Node*>(node.release()));
}

inline bool allFinite(const Grid& grid) {
    for (const Vector3& p : grid.cells())
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return false;
    return true;
}

// Equal sizes and every point within `tolerance`.
inline void expectGridsNear(const Grid& actual, const Grid& expected, double tolerance) {
    ASSERT_EQ(actual.rows(), expected.rows());
    ASSERT_EQ(actual.columns(), expected.columns());
    for (size_t i = 0; i < actual.cells().size(); ++i)
        ASSERT_LT(distance(actual.cells()[i], expected.cells()[i]), tolerance) << "cell " << i;
}

// A straight stroke from `from` to `to` in `segments` pieces.
inline Stroke straightStroke(const Vector3& from, const Vector3& to, int segments) {
    Stroke s;
    for (int i = 0; i <= segments; ++i)
        s.add(from + (to - from) * (static_cast<double>(i) / segments));
    return s;
}
