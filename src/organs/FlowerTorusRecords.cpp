// The flower head's library record: the colours, the profile and resolutions, the
// four layout flags, the main axis, then the slot lists pistils first, each slot
// with its placement, its whorl code and the organ it holds; last, only for a head
// that does not open the usual way, its opening spans, and only for a head with a
// bud modelled for it, that bud as a flower head record of its own.
#include "organs/FlowerTorusNode.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"
#include "organs/ModelledBud.h"
#include "organs/OrganRecords.h"

namespace {

// The record's words for one whorl, in the order the record lists the whorls.
struct WhorlKeywords {
    int whorl;
    const char* layoutFlag;   // "... %d\n"
    const char* heading;      // "... %d\n"
    const char* indexLine;    // "... %d\n"
    const char* closingIndex; // "... %d\n"
    const char* closing;
    int headingWords;
    int indexWords;
    int closingIndexWords;
    int closingWords;
};

constexpr WhorlKeywords kWhorlRecords[] = {
    {kWhorlPistil, "pistilInf %d\n", "Pistil Parts %d\n", "pistil index %d\n",
     "end pistil parts index %d\n", "end Pistil Parts\n\n", 2, 2, 4, 3},
    {kWhorlStamen, "stamenInf %d\n", "stamen parts %d\n", "stamen index %d\n",
     "end stamen parts index %d\n", "end Stamen Parts\n\n", 2, 2, 4, 3},
    {kWhorlPetal, "petalInf %d\n", "petal parts %d\n", "petal index %d\n",
     "end petal parts index %d\n", "end Petal Parts\n\n", 2, 2, 4, 3},
    {kWhorlSepal, "sepalInf %d\n", "sepal parts %d\n", "sepal index %d\n",
     "end sepal parts index %d\n", "end Sepal Parts\n\n", 2, 2, 4, 3},
};

// "basicTransAndRot 0 ... rotation 0 ...": the shortest text a slot can have.
constexpr size_t kMinSlotBytes = 120;

void writeSlot(TextWriter& out, const FlowerPart& slot, const WriteContext& context) {
    out.text("basicTransAndRot\n");
    slot.basicTransAndRot.writeRaw(out);
    out.text("rotation\n");
    slot.rotation.writeRaw(out);
    out.format("theta %f radius %f\n", slot.theta, slot.radius);
    out.format("size %d \n", slot.size);
    out.format("whatIam %d\n", slot.whorl);
    out.format("flower object %d\n", slot.object ? 1 : 0);
    if (slot.object)
        writeTypedRecord(out, *slot.object, context);
}

bool readLabelledInteger(TextReader& in, int words, int& value) {
    return skipWords(in, words) && in.integer(value);
}

bool readSlot(RecordInput& input, FlowerPart& slot) {
    TextReader& in = input.in;
    int holds = 0;
    if (!skipWords(in, 1) || !slot.basicTransAndRot.readRaw(in) || !skipWords(in, 1) ||
        !slot.rotation.readRaw(in) || !skipWords(in, 1) || !in.real(slot.theta) ||
        !skipWords(in, 1) || !in.real(slot.radius) || !readLabelledInteger(in, 1, slot.size) ||
        !readLabelledInteger(in, 1, slot.whorl) || !readLabelledInteger(in, 2, holds))
        return false;
    if (holds == 1) {
        // A child whose closing line did not match gives no organ: the slot stays
        // empty.
        slot.object = readTypedRecord(input);
        if (!in.ok())
            return false;
    }
    return true;
}

// "openingSpans" and per whorl, in the record's order, its start and end.
constexpr const char* kOpeningSpans = "openingSpans";

void writeOpeningSpans(TextWriter& out, const BloomSchedule& bloom) {
    out.format("%s\n", kOpeningSpans);
    for (const WhorlKeywords& w : kWhorlRecords)
        out.format("%f %f\n", bloom.span(w.whorl).start, bloom.span(w.whorl).end);
    out.text("\n");
}

bool readOpeningSpans(TextReader& in, BloomSchedule& bloom) {
    for (const WhorlKeywords& w : kWhorlRecords) {
        OpeningSpan& span = bloom.span(w.whorl);
        if (!in.real(span.start) || !in.real(span.end))
            return false;
        if (!(span.start >= 0.0 && span.start <= span.end && span.end <= 1.0)) {
            in.fail("an opening span must lie within 0..1 and end after it starts");
            return false;
        }
    }
    return true;
}

// "modelledBud" and the bud's own record.
constexpr const char* kModelledBud = "modelledBud";

bool readModelledBud(RecordInput& input, FlowerTorusNode& flower) {
    std::unique_ptr<FlowerObjectNode> bud = readTypedRecord(input);
    if (!input.in.ok())
        return false;
    if (!asTorus(bud.get())) {
        input.in.fail("a modelled bud must be a flower head");
        return false;
    }
    auto head = std::unique_ptr<FlowerTorusNode>(static_cast<FlowerTorusNode*>(bud.release()));
    // A bud opens from nothing itself.
    head->modelledBud.reset();
    flower.modelledBud = std::make_shared<const ModelledBud>(std::move(head));
    return true;
}

} // namespace

void FlowerTorusNode::save(TextWriter& out, const WriteContext& context) const {
    out.text("Color\n");
    writeColourBlock(out, *this);
    writePointList(out, "m_basicCurve", m_basicCurve.points);
    out.format("m_resH %d\n", m_resH);
    out.format("m_resV %d\n", m_resV);
    for (const WhorlKeywords& w : kWhorlRecords)
        out.format(w.layoutFlag, static_cast<int>(whorl(w.whorl).layout));
    writePointList(out, "mainAxis", mainAxis.points);
    out.text("\n");
    for (const WhorlKeywords& w : kWhorlRecords) {
        const SlotList& list = whorl(w.whorl).parts;
        out.format(w.heading, static_cast<int>(list.size()));
        for (size_t i = 0; i < list.size(); ++i) {
            out.format(w.indexLine, static_cast<int>(i));
            writeSlot(out, *list[i], context);
            out.format(w.closingIndex, static_cast<int>(i));
        }
        out.text(w.closing);
    }
    if (!bloom.isUsual())
        writeOpeningSpans(out, bloom);
    if (modelledBud) {
        out.format("%s\n", kModelledBud);
        writeTypedRecord(out, modelledBud->bud(), context);
    }
}

std::unique_ptr<FlowerObjectNode> readTorus(RecordInput& input) {
    TextReader& in = input.in;
    auto torus = std::make_unique<FlowerTorusNode>(input.context.ids.nextId(),
                                                   input.context.parameters.receptacle);
    torus->m_basicCurve.clear();
    if (!skipWords(in, 1) || !readNodeColours(in, *torus) ||
        !readPointList(in, torus->m_basicCurve.points) ||
        !readLabelledInteger(in, 1, torus->m_resH) || !readLabelledInteger(in, 1, torus->m_resV))
        return nullptr;
    for (const WhorlKeywords& w : kWhorlRecords) {
        int flag = 0;
        if (!readLabelledInteger(in, 1, flag))
            return nullptr;
        torus->whorl(w.whorl).layout = flag != 0 ? WhorlLayout::Band : WhorlLayout::Ring;
    }
    torus->mainAxis.clear();
    if (!readPointList(in, torus->mainAxis.points))
        return nullptr;
    for (const WhorlKeywords& w : kWhorlRecords) {
        int count = 0;
        if (!readLabelledInteger(in, w.headingWords, count) ||
            !in.plausibleCount(count, kMinSlotBytes))
            return nullptr;
        SlotList& list = torus->whorl(w.whorl).parts;
        for (int i = 0; i < count; ++i) {
            int index = 0;
            auto slot = std::make_unique<FlowerPart>();
            if (!readLabelledInteger(in, w.indexWords, index) || !readSlot(input, *slot) ||
                !readLabelledInteger(in, w.closingIndexWords, index))
                return nullptr;
            slot->index = i;
            list.push_back(std::move(slot));
        }
        if (!skipWords(in, w.closingWords))
            return nullptr;
    }
    if (in.takeWord(kOpeningSpans) && !readOpeningSpans(in, torus->bloom))
        return nullptr;
    if (in.takeWord(kModelledBud) && !readModelledBud(input, *torus))
        return nullptr;
    // Resolutions outside the parameter ranges would build absurd or empty bodies.
    torus->m_resH = clampedResolution(torus->m_resH);
    torus->m_resV = clampedResolution(torus->m_resV);
    if (torus->m_basicCurve.size() < 2) {
        in.fail("a receptacle profile needs at least two points");
        return nullptr;
    }
    torus->body.buildRevolution(torus->m_basicCurve, torus->m_resV, torus->m_resH);
    return torus;
}
