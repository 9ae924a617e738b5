#pragma once

struct DrawContext;

// The floor of the views: a grid of thin lines in the plane y = 0, 5 units square
// with a line every 0.25 units and a stronger one every unit. The grid fades out
// towards its rim, so the floor has no hard edge, and with distance from the eye,
// so its far lines do not crowd into a grey band. It is drawn before the objects,
// blended and without depth writes, and never into a pick frame. The GL state it
// changes is restored.
void drawFloorGrid(const DrawContext& draw);
