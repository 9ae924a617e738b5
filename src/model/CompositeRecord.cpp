// A composite's record: its axis, the lists of its branches' and segments' fields,
// then the branches and the segments.
#include "model/CompositeRecord.h"

#include "model/ContainerRecord.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"

namespace {

using Branch = FlowerObjectComposite::Branch;
using Segment = FlowerObjectComposite::Segment;

const char* const kBranchesHeading = "m_children";
const char* const kSegmentsHeading = "m_childrenArongAxis";
// Follows the children only when the plant knows the order its flowers open in, so
// that a plant without one writes as it always did.
const char* const kOpeningOrderHeading = "openingOrder";

// Calls list(heading and field, parts) for each list of the record, in file order.
template <typename Composite, typename Visit> void forEachList(Composite& composite, Visit list) {
    list(PartList<Branch, double>{"childPositionLR", &Branch::position}, composite.branches);
    list(PartList<Segment, double>{"childPositionLRAA", &Segment::start}, composite.segments);
    list(PartList<Branch, Matrix4>{"m_childrenMat", &Branch::attachment}, composite.branches);
    list(PartList<Branch, Matrix4>{"m_childrenMatRelateveRot", &Branch::orientationOnAxis},
         composite.branches);
    list(PartList<Branch, Matrix4>{"m_childrenMatRot", &Branch::turn}, composite.branches);
    list(PartList<Segment, Matrix4>{"m_childrenMatArongAxis", &Segment::placement},
         composite.segments);
    list(PartList<Segment, Matrix4>{"m_childrenMatArongAxisZrot", &Segment::sideTurn},
         composite.segments);
}

} // namespace

void FlowerObjectComposite::save(TextWriter& out, const WriteContext& context) const {
    out.text("Color\n");
    writeColourBlock(out, *this);
    writePointList(out, "mainAxis", mainAxis.points);
    out.text("\n");
    forEachList(*this,
                [&](const auto& list, const auto& parts) { writePartList(out, list, parts); });
    writeChildren(out, kBranchesHeading, branches, &Branch::composite, context);
    writeChildren(out, kSegmentsHeading, segments, &Segment::node, context);
    if (openingOrder.empty())
        return;
    out.format("%s %d\n", kOpeningOrderHeading, static_cast<int>(openingOrder.size()));
    for (int place : openingOrder)
        out.format("%d\n", place);
}

std::unique_ptr<FlowerObjectNode> readComposite(RecordInput& input) {
    TextReader& in = input.in;
    auto composite = std::make_unique<FlowerObjectComposite>(input.context.ids.nextId());
    // A composite keeps the material of its constructor: its colours are read and
    // dropped.
    MaterialBlock ignored;
    if (!skipWords(in, 1) || !readColourBlock(in, ignored) ||
        !readPointList(in, composite->mainAxis.points))
        return nullptr;
    PartListReader<Branch> branchLists(composite->branches);
    PartListReader<Segment> segmentLists(composite->segments);
    bool ok = true;
    forEachList(*composite, [&](const auto& list, auto& parts) {
        if constexpr (std::is_same_v<std::decay_t<decltype(parts)>, std::vector<Branch>>)
            ok = ok && branchLists.read(in, list);
        else
            ok = ok && segmentLists.read(in, list);
    });
    std::vector<std::unique_ptr<FlowerObjectNode>> branches;
    std::vector<std::unique_ptr<FlowerObjectNode>> segments;
    if (!ok || !readChildren(input, composite.get(), true, branches) ||
        !readChildren(input, composite.get(), false, segments))
        return nullptr;
    if (!branchLists.give(std::move(branches), &Branch::composite) ||
        !segmentLists.give(std::move(segments), &Segment::node)) {
        in.fail("the composite's matrix and position lists do not match its children");
        return nullptr;
    }
    if (in.takeWord(kOpeningOrderHeading)) {
        int count = 0;
        if (!in.integer(count) || !in.plausibleCount(count, 2))
            return nullptr;
        composite->openingOrder.resize(static_cast<size_t>(count));
        for (int& place : composite->openingOrder)
            if (!in.integer(place))
                return nullptr;
    }
    return composite;
}
