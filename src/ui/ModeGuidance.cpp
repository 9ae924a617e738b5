#include "ui/ModeGuidance.h"

#include "control/AppController.h"
#include "control/LibraryBrowser.h"
#include "model/FlowerObjectComposite.h"
#include "modes/scene/BillboardSketching.h"

#include <array>

namespace {

// What the left button does in a mode with the Pen, the Cursor and the Eraser; null
// where the tool does nothing there. The creation modes of single organs and of a
// new plant ignore the tool and say only the Pen's line.
struct ModeLines {
    const char* pen;
    const char* cursor = nullptr;
    const char* eraser = nullptr;
};

constexpr std::array<ModeLines, kModeCount> kLines = {{
    {"Scene: draw up from the ground to plant what the Pen carries; double-click a part to "
     "edit it",
     "Scene: drag a plant to tilt it; double-click a part to edit it",
     "Scene: click a part of a plant to erase it: a branch, an organ, or the axis from there "
     "on"},
    {"Focus: draw from the axis to grow a branch; double-click a part to go in, empty space "
     "to go up",
     "Focus: drag a branch in small movements to turn it; double-click empty space to go up",
     "Focus: click a branch, an organ or a piece of the axis to erase it"},
    {"Leaf or petal: draw the midrib out of the axis or an empty slot, then both outlines "
     "from base to tip"},
    {"Flower in place: draw an organ out of an empty slot; double-click empty space to go up",
     "Flower in place: drag an organ to turn its whorl, or a control point to move it",
     "Flower in place: click an organ to take it off the flower head"},
    {"Stamen in place: draw from its base to re-draw the filament, elsewhere the anther",
     "Stamen in place: drag a control point to move it",
     "Stamen in place: click to take the anther off"},
    {"Leaf or petal in place: draw base to tip to bend, edge to edge to cup",
     "Leaf or petal in place: drag a control point to move it"},
    {"Flower: draw an organ out of an empty slot",
     "Flower: drag an organ to turn its whorl, or a control point to move it",
     "Flower: click an organ to take it off the flower head"},
    {"Plant: draw a branch from the axis, or on from its tip; Tool > Make inflorescence... places "
     "flowers by type",
     "Plant: drag a branch in small movements to turn it",
     "Plant: click a branch to remove it, or a piece of the axis to cut the axis back there"},
    {"Draw a stroke up from the ground to start a plant"},
    {"Petal: draw left outline, midrib and right outline, each from base to tip"},
    {"Petal: draw base to tip to bend, edge to edge to cup, midrib to edge to curl"},
    {"Stamen: draw the filament upwards in one stroke"},
    {"Stamen: draw the anther across the filament's tip; right button turns the view"},
    {"Pistil: draw its outline up one side and down the other in one stroke"},
    {"Pistil: draw a new stroke to re-sketch its axis; right button turns the view"},
}};

const char* const kNothingHere = "This tool does nothing here: choose the Pen to draw";

// The line of a tool other than the Pen in a mode where tools apply (0..7).
const char* toolLine(int mode, int tool) {
    const ModeLines& lines = kLines[static_cast<size_t>(mode)];
    switch (tool) {
    case kToolCursor:
        return lines.cursor;
    case kToolEraser:
        return lines.eraser;
    case kToolBrowsing:
        return "Browsing: drag with the left button to move the view";
    case kToolAxisModify:
        if (mode == kModeSceneStamen)
            return lines.pen;
        return mode == kModeSceneModify ? "Focus: draw on from the tip of the axis to re-sketch it"
                                        : nullptr;
    default:
        if (BillboardSketching::isTool(tool) &&
            (mode == kModeSceneSketch || mode == kModeSceneModify || mode == kModeSceneTorus))
            return "Billboard: draw a stand-in from an axis or the ground; click empty space to "
                   "finish it";
        return nullptr;
    }
}

// The words a person uses for each kind of library object.
const char* kindWords(int kind) {
    switch (kind) {
    case kKindPistil:
        return "pistil";
    case kKindStamen:
        return "stamen";
    case kKindPetal:
        return "leaf or petal";
    case kKindStem:
        return "stem";
    case kKindTorus:
        return "flower head";
    case kKindComposite:
        return "plant";
    default:
        return "sketch";
    }
}

const char* categoryWord(int category) {
    constexpr const char* kWords[kCategoryCount] = {"Scene", "Primitive", "Leaf", "Flower",
                                                    "Composite"};
    return category >= 0 && category < kCategoryCount ? kWords[category] : "";
}

// Whether the next stroke in the current mode takes a copy of the library's
// selection.
bool strokeCarriesSelection(const AppController& controller) {
    const int tool = controller.settings().drawingTool;
    switch (controller.mode()) {
    case kModeComposite:
        return true;
    case kModeSceneSketch:
    case kModeCompositeModify:
        return tool == kToolPen;
    case kModeSceneModify:
        return tool == kToolPen && asComposite(controller.focus());
    case kModeSceneTorus:
    case kModeTorusModify:
        return tool == kToolPen && !controller.settings().showWireFrame;
    default:
        return false;
    }
}

} // namespace

QString modeGuidance(int mode, int tool, const BloomSettings& bloom) {
    if (!isValidMode(mode))
        return {};
    if (!bloom.editable())
        return QStringLiteral("Bloom at time %1: drag the camera; to edit, set the time to 1")
            .arg(bloom.time, 0, 'f', 2);
    const char* line = kLines[static_cast<size_t>(mode)].pen;
    if (takesDrawingTools(mode) && tool != kToolPen)
        line = toolLine(mode, tool);
    return QString::fromLatin1(line ? line : kNothingHere);
}

QString penLoad(const AppController& controller, const LibraryBrowser& browser) {
    if (!strokeCarriesSelection(controller))
        return {};
    if (const FlowerObjectNode* carried = controller.findObject(browser.selectedId()))
        return QStringLiteral("Pen carries: %1 %2")
            .arg(QLatin1String(kindWords(carried->kind)))
            .arg(carried->id);
    const int category = browser.category();
    return QStringLiteral("Pen carries: a plain stem (%1)")
        .arg(category == kCategoryScene ? QStringLiteral("scenes are shown")
                                        : QStringLiteral("nothing selected under %1")
                                              .arg(QLatin1String(categoryWord(category))));
}
