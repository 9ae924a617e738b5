#pragma once

#include "math/Rgba.h"

struct DrawContext;

// The background of a frame the user looks at: a soft vertical gradient, a cool
// grey-blue at the top of the view paling to a warm light grey at the bottom, where
// the floor and the shadows on it lie. It is drawn over the whole viewport at the
// start of the frame, with no depth, and never into a pick frame: picks read their
// own cleared colour as "nothing here". The GL state it changes is restored.
void drawBackground(const DrawContext& draw);

// The colour the background shows at `height` up the viewport: 0 at its bottom edge,
// 1 at its top edge.
Rgba backgroundColour(double height);
