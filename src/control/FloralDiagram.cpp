// The floral diagram. Sections: binding, whorl edits, hit tests and drags, marks
// and copies, painting.
#include "control/FloralDiagram.h"

#include "control/FloralDiagramGlyphs.h"
#include "control/Singleton.h"
#include "organs/FloralFormula.h"
#include "organs/FlowerTorusNode.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

namespace {

constexpr double kPi = std::numbers::pi;
// New slots start at 1 radian and follow each other 2 degrees apart, so that they
// are seen as a bunch until the whorl is arranged.
constexpr double kNewSlotTheta = 1.0;
constexpr double kNewSlotStep = 0.034906585039886556;
// The ring handles sit left of the rings, on the level of each ring's top point.
// A press counts on a handle within its 8 x 8 square.
constexpr int kHandleX = 10;
constexpr int kHandleHalf = 4;
// A ring without organs moved out from under the ring inside it lies this far
// outside that ring, the spacing of the initial rings.
constexpr int kEmptyRingGap = 20;
// Pixels at the foot of the diagram kept for the floral formula.
constexpr int kCaptionRoom = 20;

const QColor kCrossHair(100, 100, 100);

} // namespace

// --- Binding

const FloralDiagramSettings& FloralDiagram::settings() const {
    static const FloralDiagramSettings initial;
    return settings_ ? *settings_ : initial;
}

void FloralDiagram::bind(FlowerTorusNode* receptacle) {
    if (!receptacle)
        return;
    if (selection_.receptacleId() != receptacle->id)
        selection_.clear();
    boundId_ = receptacle->id;
    showCounts(*receptacle);
    for (int ring = 0; ring < 4; ++ring) {
        double largest = 0.0;
        for (const auto& slot : receptacle->whorl(kWhorlsInsideOut[ring]).parts)
            largest = std::max(largest, slot->radius);
        if (static_cast<int>(largest) != 0)
            ringRadii_[ring] = static_cast<int>(largest);
    }
    // A whorl without organs keeps its ring from the flower bound before; where that
    // lies inside the ring within it, it moves outside, so that keeping the order
    // below does not pull a ring with organs in under its own organs.
    for (int ring = 1; ring < 4; ++ring)
        if (receptacle->whorl(kWhorlsInsideOut[ring]).parts.empty() &&
            ringRadii_[ring] <= ringRadii_[ring - 1])
            ringRadii_[ring] = ringRadii_[ring - 1] + kEmptyRingGap;
    // Outside in, so that the sepal ring, which has the most room, stays put.
    for (int ring = 2; ring >= 0; --ring)
        if (ringRadii_[ring] >= ringRadii_[ring + 1])
            ringRadii_[ring] = ringRadii_[ring + 1] - 1;
}

void FloralDiagram::bindNewFlower(FlowerTorusNode* receptacle) {
    if (!receptacle)
        return;
    bind(receptacle);
    addOrgans(1, kWhorlPistil);
    addOrgans(6, kWhorlStamen);
    addOrgans(6, kWhorlPetal);
    arrange();
    showCounts(*receptacle);
}

void FloralDiagram::unbind() {
    boundId_ = -1;
    selection_.clear();
}

void FloralDiagram::unbindIf(int id) {
    if (boundId_ == id)
        unbind();
}

FlowerTorusNode* FloralDiagram::receptacle() const {
    if (boundId_ == -1 || !lookup_)
        return nullptr;
    return lookup_(boundId_);
}

void FloralDiagram::showCounts(const FlowerTorusNode& torus) const {
    if (!display_)
        return;
    WhorlSummary summary;
    for (int ring = 0; ring < 4; ++ring) {
        const Whorl& whorl = torus.whorl(kWhorlsInsideOut[ring]);
        summary.counts[ring] = static_cast<int>(whorl.parts.size());
        summary.indefinite[ring] = whorl.isBand();
    }
    display_(summary);
}

// --- Whorl edits

bool FloralDiagram::addOrgans(int count, int whorl) {
    FlowerTorusNode* torus = receptacle();
    if (!torus || count <= 0 || !isWhorl(whorl))
        return false;
    const int radius = ringRadii_[ringOf(whorl)];
    for (int i = 0; i < count; ++i) {
        const auto before = static_cast<double>(torus->whorl(whorl).parts.size());
        torus->addSlot(whorl, radius, kNewSlotTheta + before * kNewSlotStep,
                       settings().sizeOf(whorl));
    }
    return true;
}

bool FloralDiagram::removeOrgans(int count, int whorl) {
    FlowerTorusNode* torus = receptacle();
    if (!torus || count <= 0 || !isWhorl(whorl) || torus->whorl(whorl).parts.empty())
        return false;
    torus->removeLastSlots(whorl, count);
    selection_.forgetFrom(torus->id, whorl, static_cast<int>(torus->whorl(whorl).parts.size()));
    return true;
}

bool FloralDiagram::arrange() {
    FlowerTorusNode* torus = receptacle();
    if (!torus)
        return false;
    torus->relayoutRings(ringRadii_[0], ringRadii_[1], ringRadii_[2], ringRadii_[3]);
    return true;
}

void FloralDiagram::refillBand(FlowerTorusNode& torus, int whorl) {
    const int ring = ringOf(whorl);
    const int inner = ring == 0 ? 0 : ringRadii_[ring - 1];
    clearSlots(torus, whorl);
    torus.layoutBand(whorl, inner, ringRadii_[ring], settings().sizeOf(whorl),
                     settings().rotationDegrees());
}

bool FloralDiagram::setIndefinite(int whorl, bool on) {
    FlowerTorusNode* torus = receptacle();
    if (!torus || !isWhorl(whorl))
        return false;
    torus->whorl(whorl).layout = on ? WhorlLayout::Band : WhorlLayout::Ring;
    if (on)
        refillBand(*torus, whorl);
    else
        clearSlots(*torus, whorl);
    showCounts(*torus);
    return true;
}

bool FloralDiagram::applyFormula(const std::array<FormulaWhorl, 4>& whorls) {
    FlowerTorusNode* torus = receptacle();
    if (!torus)
        return false;
    for (int ring = 0; ring < 4; ++ring) {
        const int whorl = kWhorlsInsideOut[ring];
        const FormulaWhorl& wanted = whorls[ring];
        if (wanted.indefinite) {
            setIndefinite(whorl, true);
            continue;
        }
        // A band's organs stand where the band put them: a counted whorl starts anew.
        if (torus->whorl(whorl).isBand())
            setIndefinite(whorl, false);
        const int difference = wanted.count - static_cast<int>(torus->whorl(whorl).parts.size());
        if (difference > 0)
            addOrgans(difference, whorl);
        else
            removeOrgans(-difference, whorl);
    }
    arrange();
    showCounts(*torus);
    return true;
}

void FloralDiagram::clearSlots(FlowerTorusNode& torus, int whorl) {
    torus.clearSlots(whorl);
    selection_.forgetFrom(torus.id, whorl, 0);
}

void FloralDiagram::relayoutWhorl(FlowerTorusNode& torus, int whorl) {
    if (torus.whorl(whorl).isBand())
        refillBand(torus, whorl);
    else
        torus.layoutRing(whorl, ringRadii_[ringOf(whorl)]);
}

// --- Hit tests and drags

DiagramHit FloralDiagram::hitTest(int x, int y) const {
    const FlowerTorusNode* torus = receptacle();
    if (!torus)
        return {};
    const QPoint c = centre();
    // Measured in diagram units. Petal and sepal glyphs reach outwards from their
    // slot, so their hit point is half a size further out; stamens and pistils are
    // centred on the slot.
    const double ux = (x - c.x()) / scale_;
    const double uy = (y - c.y()) / scale_;
    const auto hits = [&](int whorl, double outwards, double reach) -> int {
        const SlotList& list = torus->whorl(whorl).parts;
        for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
            const FlowerPart& slot = *list[i];
            const double size = glyphSize(slot);
            const double r = slot.radius + outwards * size;
            const double dx = ux - r * std::cos(slot.theta);
            const double dy = uy - r * std::sin(slot.theta);
            if (std::hypot(dx, dy) <= size + reach)
                return i;
        }
        return -1;
    };
    for (const auto& [whorl, outwards, reach] :
         {std::tuple{kWhorlSepal, 0.5, 1.0}, std::tuple{kWhorlPetal, 0.5, 1.0},
          std::tuple{kWhorlStamen, 0.0, 0.0}, std::tuple{kWhorlPistil, 0.0, 0.0}})
        if (const int index = hits(whorl, outwards, reach); index >= 0)
            return {whorl, index};
    if (std::abs(x - left_ - kHandleX) > kHandleHalf)
        return {};
    for (int ring = 0; ring < 4; ++ring)
        if (std::abs(y - ringTop(ring)) <= kHandleHalf)
            return {DiagramHit::kRingHandle + ring, ring};
    return {};
}

bool FloralDiagram::dragTo(int x, int y, int kind, int index) {
    FlowerTorusNode* torus = receptacle();
    if (!torus)
        return false;
    if (isWhorl(kind))
        return dragOrgan(*torus, x, y, kind, index);
    if (kind >= DiagramHit::kRingHandle && kind < DiagramHit::kRingHandle + 4)
        return dragRing(*torus, kind - DiagramHit::kRingHandle,
                        static_cast<int>(std::lround((centre().y() - y) / scale_)));
    return false;
}

bool FloralDiagram::dragRing(FlowerTorusNode& torus, int ring, int height) {
    const int lowest = ring == 0 ? 0 : ringRadii_[ring - 1];
    const int highest = ring == 3 ? std::numeric_limits<int>::max() : ringRadii_[ring + 1];
    if (height < lowest || height > highest)
        return false;
    ringRadii_[ring] = height;
    relayoutWhorl(torus, kWhorlsInsideOut[ring]);
    // A band outside this ring starts at it, so it moves along.
    if (ring < 3 && torus.whorl(kWhorlsInsideOut[ring + 1]).isBand())
        refillBand(torus, kWhorlsInsideOut[ring + 1]);
    return true;
}

bool FloralDiagram::dragOrgan(FlowerTorusNode& torus, int x, int y, int whorl, int index) {
    SlotList& list = torus.whorl(whorl).parts;
    if (index < 0 || index >= static_cast<int>(list.size()))
        return false;
    FlowerPart& slot = *list[index];
    const QPoint c = centre();
    const double dx = (x - c.x()) / scale_;
    const double dy = (y - c.y()) / scale_;
    slot.radius = std::hypot(dx, dy);
    // The centre itself has no direction: the slot keeps its theta there.
    if (slot.radius > 0.0) {
        const double angle = std::acos(std::clamp(dx / slot.radius, -1.0, 1.0));
        slot.theta = dy < 0.0 ? 2 * kPi - angle : angle;
    }
    slot.basicTransAndRot = torus.placeSlot(slot.theta, slot.radius);
    return true;
}

// --- Marks and copies

bool FloralDiagram::markRange(double r1, double r2) {
    FlowerTorusNode* torus = receptacle();
    if (!torus || r1 == r2)
        return false;
    const double low = std::min(r1, r2) / scale_;
    const double high = std::max(r1, r2) / scale_;
    for (int whorl : kWhorlsInsideOut) {
        const SlotList& list = torus->whorl(whorl).parts;
        for (int i = 0; i < static_cast<int>(list.size()); ++i)
            if (list[i]->radius >= low && list[i]->radius <= high)
                selection_.mark(torus->id, {whorl, i});
    }
    return true;
}

bool FloralDiagram::clearMarks() {
    const FlowerTorusNode* torus = receptacle();
    return torus && selection_.clearMarks(torus->id);
}

bool FloralDiagram::applyToPending(const FlowerObjectNode& prototype, IdCounter& ids) {
    FlowerTorusNode* torus = receptacle();
    if (!torus)
        return false;
    // Every slot copies one snapshot: the prototype may itself be the receptacle or
    // an organ in a marked slot, which the loop changes or deletes as it goes.
    const std::unique_ptr<FlowerObjectNode> snapshot = prototype.clone(ids);
    bool changed = false;
    for (int whorl : {kWhorlSepal, kWhorlPetal, kWhorlStamen, kWhorlPistil}) {
        SlotList& list = torus->whorl(whorl).parts;
        for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i)
            if (selection_.unmark(torus->id, {whorl, i})) {
                list[i]->object = snapshot->clone(ids);
                changed = true;
            }
    }
    return changed;
}

bool FloralDiagram::applyToOne(const FlowerObjectNode& prototype, int whorl, int index,
                               IdCounter& ids) {
    FlowerTorusNode* torus = receptacle();
    if (!torus || !isWhorl(whorl))
        return false;
    SlotList& list = torus->whorl(whorl).parts;
    if (index < 0 || index >= static_cast<int>(list.size()))
        return false;
    if (selection_.isMarked(torus->id, {whorl, index}))
        return applyToPending(prototype, ids);
    list[index]->object = prototype.clone(ids);
    return true;
}

void FloralDiagram::setHighlight(double inner, double outer) {
    highlightInner_ = inner;
    highlightOuter_ = outer;
}

QPoint FloralDiagram::centre() const {
    return {(left_ + right_) / 2, (top_ + bottom_) / 2};
}

QPointF FloralDiagram::pixelAt(double radius, double theta) const {
    return QPointF(centre()) + QPointF(std::cos(theta), std::sin(theta)) * (radius * scale_);
}

int FloralDiagram::ringTop(int ring) const {
    return static_cast<int>(std::lround(centre().y() - ringRadii_[ring] * scale_));
}

// --- Painting

double FloralDiagram::fittingScale(const FlowerTorusNode* torus) const {
    double reach = *std::max_element(ringRadii_.begin(), ringRadii_.end());
    if (torus)
        reach = std::max(reach, glyphReach(*torus));
    const QPoint c = centre();
    // A ring is drawn only while its top lies below the rectangle's top.
    const double room =
        std::min({c.x() - left_, right_ - c.x(), c.y() - top_ - 1, bottom_ - c.y() - kCaptionRoom});
    return room > 0.0 && reach > room ? room / reach : 1.0;
}

void FloralDiagram::paint(QPainter& painter, int left, int top, int right, int bottom) {
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
    const FlowerTorusNode* torus = receptacle();
    scale_ = fittingScale(torus);
    const QPoint c = centre();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The annulus being marked, kept below the top of the diagram.
    const double room = c.y() - top;
    const double inner = std::min({highlightInner_, highlightOuter_, room});
    const double outer = std::min(std::max(highlightInner_, highlightOuter_), room);
    if (inner != outer) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kDiagramSelection);
        painter.drawEllipse(QPointF(c), outer, outer);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(c), inner, inner);
    }

    painter.setPen(QPen(kCrossHair, 1, Qt::DotLine));
    painter.drawLine(c.x(), top, c.x(), bottom - 1);
    painter.drawLine(left, c.y(), right - 1, c.y());

    static const QColor kHandleColours[4] = {kDiagramYellow, kDiagramGreen, kDiagramRed,
                                             kDiagramGreen};
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 4; ++ring) {
        const int ringY = ringTop(ring);
        if (ringY <= top)
            continue;
        const double r = ringRadii_[ring] * scale_;
        painter.drawEllipse(QPointF(c), r, r);
        painter.drawLine(left + kHandleX, ringY, c.x(), ringY);
        painter.fillRect(left + kHandleX - kHandleHalf, ringY - kHandleHalf, 2 * kHandleHalf,
                         2 * kHandleHalf, kHandleColours[ring]);
    }

    std::string formula;
    if (torus) {
        // The glyphs are drawn in diagram units.
        painter.save();
        painter.translate(c);
        painter.scale(scale_, scale_);
        paintWhorlGlyphs(painter, *torus, &selection_, QPointF(), (top - c.y()) / scale_);
        painter.restore();
        formula = floralFormula(*torus);
        paintFormulaCaption(painter, formula, QRect(left, top, right - left, bottom - top));
    }
    if (formulaDisplay_)
        formulaDisplay_(formula);
    painter.restore();
}

FloralDiagram& floralDiagram() {
    return singleton<FloralDiagram>();
}
