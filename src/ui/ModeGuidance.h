#pragma once

#include <QString>

// One short line for the status bar saying what the interaction mode expects of the
// mouse, so that a view never ignores strokes without a word; empty for values
// outside 0..14. Each fits the status bar of a window at its first size.
QString modeGuidance(int mode);
