#include "control/FloralDiagramSvg.h"

#include "control/FloralDiagramGlyphs.h"
#include "math/FileText.h"
#include "organs/FloralFormula.h"
#include "organs/FlowerTorusNode.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>
#include <limits>

namespace {

constexpr int kMargin = 10;
constexpr int kCaptionHeight = 28;
// Half the side of the square that holds every glyph around the centre.
int pictureRadius(const FlowerTorusNode& receptacle) {
    return static_cast<int>(std::ceil(glyphReach(receptacle))) + kMargin;
}

} // namespace

bool writeFloralDiagramSvg(const FlowerTorusNode& receptacle, const std::string& path,
                           std::string& error) {
    const int radius = pictureRadius(receptacle);
    const QSize size(2 * radius, 2 * radius + kCaptionHeight);
    const std::string formula = floralFormula(receptacle);
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Floral diagram ") + QString::fromStdString(formula));
    QPainter painter;
    if (!painter.begin(&generator)) {
        error = path + ": the SVG picture could not be drawn";
        return false;
    }
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    // The picture is of the flower alone: no view's marks.
    paintWhorlGlyphs(painter, receptacle, nullptr, QPointF(radius, radius),
                     -std::numeric_limits<double>::infinity());
    paintFormulaCaption(painter, formula, QRect(QPoint(0, 0), size));
    painter.end();
    return writeFilesAtomically({{path, buffer.data().toStdString()}}, error);
}
