#pragma once

#include <QColor>
#include <QPointF>
#include <QRect>

#include <string>

class FlowerTorusNode;
class QPainter;
class SlotSelection;
struct FlowerPart;

// The colours of the floral diagram: whorl glyphs, marked slots and guides.
inline const QColor kDiagramGreen(0, 255, 0);
inline const QColor kDiagramYellow(255, 255, 0);
inline const QColor kDiagramRed(255, 0, 0);
inline const QColor kDiagramBlue(0, 0, 255);
inline const QColor kDiagramLightGrey(230, 230, 230);
inline const QColor kDiagramSelection(100, 100, 255);

// The size, in diagram units, a slot's glyph is drawn and hit at. A slot laid out
// without one (size 0: a layout made in code or read from a file) gets the dialog's
// initial size, so that every organ shows.
double glyphSize(const FlowerPart& slot);

// How far from the centre, in diagram units, the receptacle's glyphs reach.
double glyphReach(const FlowerTorusNode& receptacle);

// The glyph of every slot of the receptacle around `centre`, whorl by whorl from
// the inside out: pistils as a yellow disc with two green lobes, stamens as two
// green lobes with the anther's seam, petals as red triangles and sepals as blue
// kites pointing outwards. Empty slots are grey, and the slots `selection` marks
// (none when null) take the selection colour. Slots above `top` are left out. Each
// glyph is drawn in its own coordinate frame at the slot, so that a vector picture
// keeps one group of shapes per slot.
void paintWhorlGlyphs(QPainter& painter, const FlowerTorusNode& receptacle,
                      const SlotSelection* selection, const QPointF& centre, double top);

// The floral formula in black, centred at the foot of `area`.
void paintFormulaCaption(QPainter& painter, const std::string& formula, const QRect& area);
