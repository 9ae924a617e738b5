#include "ui/ModeGuidance.h"

#include "control/AppController.h"

#include <array>

namespace {

// Drawing into scenes is not possible yet: the scene modes say so and point to the
// mode that draws.
constexpr const char* kSceneModes =
    "Scenes cannot be drawn into yet: choose Composit Creation to draw a plant";

constexpr std::array<const char*, kModeCount> kGuidance = {
    kSceneModes, // 0 scene sketching
    kSceneModes, // 1 scene editing
    kSceneModes, // 2 scene petal
    kSceneModes, // 3 scene flower head
    kSceneModes, // 4 scene stamen
    kSceneModes, // 5 scene petal editing
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
