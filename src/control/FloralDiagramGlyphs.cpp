#include "control/FloralDiagramGlyphs.h"

#include "control/FloralDiagramSettings.h"
#include "model/SlotSelection.h"
#include "organs/FlowerTorusNode.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

// Half the width of a petal or sepal glyph, in sizes.
constexpr double kBladeHalfWidth = 2.5;

// How a slot's glyph is filled: the selection colour when marked, else the whorl's
// colour when it holds an organ and grey when it is empty.
struct GlyphFill {
    bool marked;
    bool filled;

    QColor of(const QColor& whorlColour) const {
        if (marked)
            return kDiagramSelection;
        return filled ? whorlColour : kDiagramLightGrey;
    }
};

void drawDisc(QPainter& painter, const QPointF& at, double radius) {
    painter.drawEllipse(at, radius, radius);
}

void drawPistil(QPainter& painter, const FlowerPart& slot, const GlyphFill& fill) {
    const double size = glyphSize(slot);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill.of(kDiagramYellow));
    drawDisc(painter, {}, size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill.of(kDiagramGreen));
    drawDisc(painter, QPointF(-size / 2, 0), size / 2);
    drawDisc(painter, QPointF(size / 2, 0), size / 2);
}

void drawStamen(QPainter& painter, const FlowerPart& slot, const GlyphFill& fill,
                const QPointF& across) {
    const double radius = 2.0 * glyphSize(slot) / 3.0;
    const QPointF first = across * (radius / 2);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill.of(kDiagramGreen));
    drawDisc(painter, first, radius);
    drawDisc(painter, -across * (radius / 2), radius);
    // The anther's seam: half a circle inside the first lobe.
    painter.setBrush(Qt::NoBrush);
    const double half = radius / 2;
    painter.drawArc(QRectF(first - QPointF(half, half), QSizeF(radius, radius)), 0, 180 * 16);
}

// Petals are triangles pointing outwards; sepals kites, their side corners set back.
void drawBlade(QPainter& painter, const FlowerPart& slot, const GlyphFill& fill, const QPointF& out,
               const QPointF& across, bool sepal) {
    const double size = glyphSize(slot);
    const QPointF tip = out * size;
    QPolygonF outline;
    if (sepal)
        outline << tip << across * (kBladeHalfWidth * size) - out * (size / 2) << -out * size
                << -across * (kBladeHalfWidth * size) - out * (size / 2);
    else
        outline << tip << across * (kBladeHalfWidth * size) << -across * (kBladeHalfWidth * size);
    painter.setPen(QPen(kDiagramBlue, 1));
    painter.setBrush(fill.of(sepal ? kDiagramBlue : kDiagramRed));
    painter.drawPolygon(outline);
}

} // namespace

double glyphSize(const FlowerPart& slot) {
    return slot.size > 0 ? slot.size : FloralDiagramSettings::kInitialSize;
}

double glyphReach(const FlowerTorusNode& receptacle) {
    // Every glyph reaches one size outwards from its slot; a blade also spreads 2.5
    // sizes to either side of it.
    double reach = 0.0;
    forEachSlot(receptacle, [&](const FlowerPart& slot) {
        const double size = glyphSize(slot);
        reach =
            std::max({reach, slot.radius + size, std::hypot(slot.radius, kBladeHalfWidth * size)});
    });
    return reach;
}

void paintWhorlGlyphs(QPainter& painter, const FlowerTorusNode& receptacle,
                      const SlotSelection* selection, const QPointF& centre, double top) {
    for (int whorl : kWhorlsInsideOut) {
        const SlotList& parts = receptacle.whorl(whorl).parts;
        for (int i = 0; i < static_cast<int>(parts.size()); ++i) {
            const FlowerPart& slot = *parts[i];
            const QPointF out(std::cos(slot.theta), std::sin(slot.theta));
            const QPointF across(-out.y(), out.x());
            const QPointF at = centre + out * slot.radius;
            if (at.y() < top)
                continue;
            const GlyphFill fill{selection && selection->isMarked(receptacle.id, {whorl, i}),
                                 slot.holdsOrgan()};
            painter.save();
            painter.translate(at);
            if (whorl == kWhorlPistil)
                drawPistil(painter, slot, fill);
            else if (whorl == kWhorlStamen)
                drawStamen(painter, slot, fill, across);
            else
                drawBlade(painter, slot, fill, out, across, whorl == kWhorlSepal);
            painter.restore();
        }
    }
}

void paintFormulaCaption(QPainter& painter, const std::string& formula, const QRect& area) {
    painter.save();
    painter.setPen(Qt::black);
    painter.drawText(area.adjusted(0, 0, 0, -4), Qt::AlignHCenter | Qt::AlignBottom,
                     QString::fromStdString(formula));
    painter.restore();
}
