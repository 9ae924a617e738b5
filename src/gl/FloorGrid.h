#pragma once

struct DrawContext;

// The floor of the main view: a grey grid of lines in the plane y = 0, 5 units
// square with a line every 0.25 units and a black border. It is drawn before the
// objects and never into a pick snapshot. The GL state it changes (shading,
// lighting, line width, colour) is restored afterwards.
void drawFloorGrid(const DrawContext& draw);
