#include "ui/WindowIcons.h"

#include "ui/CommandIds.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <map>

namespace {

constexpr int kIconSize = 32;
constexpr double kPi = 3.14159265358979323846;

using Glyph = std::function<void(QPainter&)>;

void flower(QPainter& p, QPointF centre, double radius, int petals, const QColor& colour) {
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(colour);
    for (int i = 0; i < petals; ++i) {
        const double a = 2.0 * kPi * i / petals;
        const QPointF c = centre + QPointF(std::cos(a), std::sin(a)) * radius * 0.55;
        p.drawEllipse(c, radius * 0.45, radius * 0.45);
    }
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(centre, radius * 0.3, radius * 0.3);
}

void petal(QPainter& p, QPointF base, QPointF tip, const QColor& colour) {
    const QPointF d = tip - base;
    const QPointF n(-d.y() * 0.4, d.x() * 0.4);
    QPainterPath path(base);
    path.quadTo(base + d * 0.5 + n, tip);
    path.quadTo(base + d * 0.5 - n, base);
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawPath(path);
    p.drawLine(base, tip);
}

void stem(QPainter& p, const QColor& colour = QColor(40, 140, 50)) {
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    QPainterPath path(QPointF(16, 30));
    path.cubicTo(QPointF(12, 20), QPointF(20, 12), QPointF(16, 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void label(QPainter& p, const QString& text, const QColor& colour = Qt::black) {
    QFont font = p.font();
    font.setPixelSize(text.size() > 2 ? 9 : 12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, 18, kIconSize, 14), Qt::AlignCenter, text);
}

void pen(QPainter& p) {
    p.setPen(QPen(QColor(30, 30, 160), 2));
    p.setBrush(QColor(240, 200, 60));
    const QPointF body[] = {{8, 24}, {22, 6}, {26, 10}, {12, 28}};
    p.drawPolygon(body, 4);
    p.setBrush(QColor(30, 30, 30));
    const QPointF nib[] = {{8, 24}, {12, 28}, {5, 29}};
    p.drawPolygon(nib, 3);
}

void billboard(QPainter& p, const Glyph& picture) {
    p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
    p.setBrush(QColor(255, 255, 220));
    p.drawRect(4, 3, 24, 26);
    picture(p);
}

const std::map<int, Glyph>& glyphs() {
    static const std::map<int, Glyph> table = {
        {kCmdStoreCurrent,
         [](QPainter& p) {
             p.setPen(QPen(QColor(60, 60, 60), 1));
             p.setBrush(QColor(150, 110, 70));
             p.drawRect(5, 16, 22, 12);
             petal(p, {16, 18}, {16, 3}, QColor(230, 120, 170));
         }},
        {kCmdLoadFromLibrary,
         [](QPainter& p) {
             p.setPen(QPen(QColor(60, 60, 60), 1));
             p.setBrush(QColor(150, 110, 70));
             p.drawRect(5, 16, 22, 12);
             p.setPen(QPen(QColor(20, 120, 20), 3));
             p.drawLine(16, 14, 16, 3);
             p.drawLine(16, 3, 11, 8);
             p.drawLine(16, 3, 21, 8);
         }},
        {kCmdToolBrowsing,
         [](QPainter& p) {
             p.setPen(QPen(QColor(40, 40, 40), 2));
             p.drawLine(16, 4, 16, 28);
             p.drawLine(4, 16, 28, 16);
             for (QPointF tip : {QPointF(16, 3), QPointF(16, 29), QPointF(3, 16), QPointF(29, 16)})
                 p.drawEllipse(tip, 2, 2);
         }},
        {kCmdToolCursor,
         [](QPainter& p) {
             p.setPen(QPen(Qt::black, 1));
             p.setBrush(Qt::white);
             const QPointF arrow[] = {{9, 4},   {9, 26},  {14, 21}, {18, 29},
                                      {21, 27}, {17, 19}, {24, 19}};
             p.drawPolygon(arrow, 7);
         }},
        {kCmdToolEraser,
         [](QPainter& p) {
             p.setPen(QPen(QColor(80, 80, 80), 1));
             p.setBrush(QColor(240, 150, 170));
             const QPointF body[] = {{4, 20}, {16, 8}, {28, 16}, {16, 28}};
             p.drawPolygon(body, 4);
         }},
        {kCmdToolPen, pen},
        {kCmdBranchBillboard, [](QPainter& p) { billboard(p, [](QPainter& q) { stem(q); }); }},
        {kCmdFlowerBillboard,
         [](QPainter& p) {
             billboard(p, [](QPainter& q) { flower(q, {16, 15}, 9, 5, QColor(240, 110, 150)); });
         }},
        {kCmdLeafBillboard,
         [](QPainter& p) {
             billboard(p, [](QPainter& q) { petal(q, {10, 26}, {23, 6}, QColor(80, 170, 70)); });
         }},
        {kCmdSceneCreation,
         [](QPainter& p) {
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(120, 180, 90));
             p.drawRect(2, 22, 28, 8);
             stem(p);
             flower(p, {9, 12}, 6, 5, QColor(240, 120, 160));
             flower(p, {23, 9}, 6, 5, QColor(250, 200, 90));
         }},
        {kCmdCompositeCreation,
         [](QPainter& p) {
             stem(p);
             petal(p, {15, 18}, {5, 10}, QColor(80, 170, 70));
             petal(p, {17, 12}, {27, 6}, QColor(80, 170, 70));
         }},
        {kCmdFlowerCreation,
         [](QPainter& p) {
             flower(p, {16, 16}, 13, 6, QColor(240, 110, 150));
         }},
        {kCmdPetalCreation,
         [](QPainter& p) {
             petal(p, {8, 28}, {24, 4}, QColor(240, 130, 170));
         }},
        {kCmdStamenCreation,
         [](QPainter& p) {
             p.setPen(QPen(QColor(120, 160, 60), 2));
             p.drawLine(16, 30, 16, 10);
             p.setPen(QPen(QColor(150, 100, 20), 1));
             p.setBrush(QColor(240, 190, 40));
             p.drawEllipse(QPointF(16, 7), 4, 6);
         }},
        {kCmdPistilCreation,
         [](QPainter& p) {
             p.setPen(QPen(QColor(80, 120, 40), 1));
             p.setBrush(QColor(150, 200, 80));
             QPainterPath path(QPointF(10, 30));
             path.cubicTo(QPointF(4, 18), QPointF(14, 12), QPointF(15, 4));
             path.lineTo(QPointF(17, 4));
             path.cubicTo(QPointF(18, 12), QPointF(28, 18), QPointF(22, 30));
             path.closeSubpath();
             p.drawPath(path);
         }},
        {kCmdFocusUp,
         [](QPainter& p) {
             p.setPen(QPen(QColor(30, 80, 180), 4, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(16, 28, 16, 6);
             p.drawLine(16, 6, 8, 14);
             p.drawLine(16, 6, 24, 14);
         }},
        {kCmdFocusToRoot,
         [](QPainter& p) {
             p.setPen(QPen(QColor(30, 80, 180), 4, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(16, 28, 16, 10);
             p.drawLine(6, 5, 26, 5);
             p.drawLine(16, 10, 8, 18);
             p.drawLine(16, 10, 24, 18);
         }},
        {kCmdEyeInit,
         [](QPainter& p) {
             p.setPen(QPen(QColor(40, 40, 40), 2));
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(16, 16), 13, 8);
             p.setBrush(QColor(60, 110, 200));
             p.drawEllipse(QPointF(16, 16), 5, 5);
         }},
        {kCmdShowControlPoints,
         [](QPainter& p) {
             p.setPen(QPen(QColor(120, 120, 120), 1));
             for (int i = 0; i < 3; ++i) {
                 p.drawLine(6, 6 + 10 * i, 26, 6 + 10 * i);
                 p.drawLine(6 + 10 * i, 6, 6 + 10 * i, 26);
             }
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(220, 40, 40));
             for (int i = 0; i < 3; ++i)
                 for (int j = 0; j < 3; ++j)
                     p.drawRect(4 + 10 * i, 4 + 10 * j, 5, 5);
         }},
        {kCmdShowWireFrame,
         [](QPainter& p) {
             p.setPen(QPen(QColor(30, 30, 30), 1));
             p.setBrush(Qt::NoBrush);
             p.drawRect(6, 10, 16, 16);
             p.drawRect(10, 6, 16, 16);
             p.drawLine(6, 10, 10, 6);
             p.drawLine(22, 10, 26, 6);
             p.drawLine(6, 26, 10, 22);
             p.drawLine(22, 26, 26, 22);
         }},
        {kCmdShowBillboard,
         [](QPainter& p) {
             billboard(p, [](QPainter& q) { label(q, "BB", QColor(60, 60, 60)); });
         }},
        {kCmdShowSketch,
         [](QPainter& p) {
             p.setPen(QPen(QColor(230, 200, 0), 3, Qt::SolidLine, Qt::RoundCap));
             QPainterPath path(QPointF(4, 26));
             path.cubicTo(QPointF(10, 4), QPointF(20, 30), QPointF(28, 6));
             p.drawPath(path);
         }},
        {kCmdSceneLibrary, [](QPainter& p) { label(p, "Sc", QColor(30, 90, 40)); }},
        {kCmdCompositeLibrary, [](QPainter& p) { label(p, "Co", QColor(30, 90, 40)); }},
        {kCmdFlowerLibrary, [](QPainter& p) { label(p, "Fl", QColor(170, 40, 100)); }},
        {kCmdLeafLibrary, [](QPainter& p) { label(p, "Le", QColor(40, 130, 40)); }},
        {kCmdPrimitiveLibrary, [](QPainter& p) { label(p, "Pr", QColor(120, 80, 20)); }},
    };
    return table;
}

// The library buttons share a book behind their letters.
bool isLibraryCommand(int id) {
    return id == kCmdSceneLibrary || id == kCmdCompositeLibrary || id == kCmdFlowerLibrary ||
           id == kCmdLeafLibrary || id == kCmdPrimitiveLibrary;
}

// The picture of a command that cannot be chosen: grey, faded towards white and
// half transparent, so that it reads as unavailable whatever the widget style does
// with disabled icons.
QPixmap disabledPicture(const QPixmap& picture) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 2);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

QIcon commandIcon(int commandId) {
    const auto it = glyphs().find(commandId);
    if (it == glyphs().end())
        return {};
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isLibraryCommand(commandId)) {
        painter.setPen(QPen(QColor(90, 70, 40), 1));
        painter.setBrush(QColor(245, 235, 205));
        painter.drawRoundedRect(4, 3, 24, 27, 3, 3);
        painter.setBrush(QColor(200, 170, 110));
        painter.drawRect(4, 3, 5, 27);
        flower(painter, {18, 11}, 6, 5, QColor(240, 130, 170));
    }
    it->second(painter);
    painter.end();
    QIcon icon(pixmap);
    icon.addPixmap(disabledPicture(pixmap), QIcon::Disabled);
    return icon;
}

QIcon applicationIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    flower(painter, {32, 32}, 28, 5, QColor(235, 100, 150));
    painter.end();
    return QIcon(pixmap);
}

QPixmap splashPicture() {
    QPixmap pixmap(520, 380);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 380);
    sky.setColorAt(0.0, QColor(200, 225, 250));
    sky.setColorAt(1.0, QColor(250, 250, 235));
    painter.fillRect(pixmap.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 180, 90));
    painter.drawRect(0, 320, 520, 60);
    const QColor colours[] = {QColor(235, 100, 150), QColor(250, 190, 60), QColor(170, 110, 220)};
    for (int i = 0; i < 3; ++i) {
        const double x = 110 + 150 * i;
        const double top = 150 + 40 * (i % 2);
        painter.setPen(QPen(QColor(40, 130, 50), 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(x, 330), QPointF(x, top));
        petal(painter, {x, 270}, {x + 40, 240}, QColor(80, 170, 70));
        flower(painter, {x, top}, 40, 6, colours[i]);
    }
    QFont font = painter.font();
    font.setPixelSize(44);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(60, 40, 90));
    painter.drawText(QRectF(0, 20, 520, 70), Qt::AlignCenter, "Pelmora");
    font.setPixelSize(16);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRectF(0, 80, 520, 30), Qt::AlignCenter, "Sketching flowers and plants");
    painter.end();
    return pixmap;
}
