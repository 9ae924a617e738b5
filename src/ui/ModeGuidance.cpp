#include "ui/ModeGuidance.h"

#include "control/AppController.h"

#include <array>

namespace {

constexpr std::array<const char*, kModeCount> kGuidance = {
    "Scene: draw up from the ground to plant the selected object; double-click a part to "
    "edit it",
    "Focus: draw from the axis to grow a branch; double-click a part to go in, empty space "
    "to go up",
    "Leaf or petal: draw the midrib out of the axis or an empty slot, then both outlines "
    "from base to tip",
    "Flower in place: the Pen draws an organ out of an empty slot; Cursor turns, Eraser "
    "removes; double-click empty space to go up",
    "Stamen in place: draw from its base to re-draw the filament, elsewhere the anther; "
    "Eraser removes the anther",
    "Leaf or petal in place: draw base to tip to bend, edge to edge to cup; Cursor drags "
    "control points",
    "Flower: the Pen draws an organ out of an empty slot; Cursor turns, Eraser removes",
    "Plant: draw a branch from the axis, or on from its tip; Cursor turns, Eraser erases",
    "Draw a stroke up from the ground to start a plant carrying the selected object",
    "Petal: draw left outline, midrib and right outline, each from base to tip",
    "Petal: draw base to tip to bend, edge to edge to cup, midrib to edge to curl",
    "Stamen: draw the filament upwards in one stroke",
    "Stamen: draw the anther across the filament's tip; right button turns the view",
    "Pistil: draw its outline up one side and down the other in one stroke",
    "Pistil: draw a new stroke to re-sketch its axis; right button turns the view",
};

} // namespace

QString modeGuidance(int mode) {
    if (!isValidMode(mode))
        return {};
    return QString::fromLatin1(kGuidance[static_cast<size_t>(mode)]);
}
