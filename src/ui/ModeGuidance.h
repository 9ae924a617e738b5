#pragma once

#include "control/EditorSettings.h"

#include <QString>

class AppController;
class LibraryBrowser;

// One short line for the status bar saying what the interaction mode expects of the
// mouse with the drawing tool in hand, so that a view never ignores strokes without
// a word: with the Eraser it says what a click erases, with a tool that does nothing
// in the mode it says so. Empty for modes outside 0..14. Each fits the status bar of
// a window at its first size. While the views show the bloom away from time 1 it
// says instead that editing waits for time 1.
QString modeGuidance(int mode, int tool, const BloomSettings& bloom = {});

// What the next stroke takes from the library, for the status bar: "Pen carries:
// flower head 32", or "Pen carries: a plain stem" with the reason, when the shown
// category has no entry selected. Empty where a stroke takes nothing from the
// library: the organ modes, a tool other than the Pen, the profile stroke of a
// flower head in wire frame.
QString penLoad(const AppController& controller, const LibraryBrowser& browser);
