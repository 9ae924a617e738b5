#pragma once

#include "math/Matrix4.h"
#include "model/LocalBox.h"

#include <cstdint>

class DrawingCache;
class FlowerObjectNode;
struct DrawContext;

// How a frame of a view shows the plant objects: each object that covers little of
// the view is drawn from the view's drawing cache, its surfaces from grids thinned
// to what its size on screen can show, and objects outside the view are skipped.
// Each view context keeps the record and fills it in per frame (TOGL::frameContext).
struct DrawDetail {
    DrawingCache* cache = nullptr;
    Matrix4 projection;
    double viewportWidth = 1.0;
    double viewportHeight = 1.0;
    // Counts the frames drawn with this record; without a model version, drawing
    // keys are computed once per frame and remembered under it.
    std::uint64_t frame = 0;
};

// Draws `node` under the current model-view matrix the way the frame's detail asks:
// nothing when its box lies outside the view, else from the cache's list of its
// content at the detail its size on screen needs, compiled from the node's own
// shaded drawing on first use. False when the caller must draw the node itself in
// full: no detail in `draw`, full detail asked for, a pick snapshot (which skips what
// lies outside its region but lists nothing), a list being compiled, a node without drawing key, or a node that reaches behind the eye or
// covers much of the view (close up every grid point shows; a plant is then drawn
// part by part, each at its own detail). A small plant is listed whole, its flower
// heads at the detail its nearest part needs: a few draws for all of its surfaces.
bool drawFromCache(FlowerObjectNode& node, const DrawContext& draw);

// The box, in the node's own frame, of what its shaded drawing shows (its surfaces
// and shown strokes; it always holds the frame's origin): kept in the frame's
// drawing cache under the node's drawing key when there is one, else measured.
LocalBox drawnBox(const FlowerObjectNode& node, const DrawContext& draw);

// The node's shaded drawing at the frame's detail: from the cache when it can be,
// else in full.
void drawSolidAtDetail(FlowerObjectNode& node, const DrawContext& draw);

// The node's translucent drawing (the scene around the focus), skipped when its
// box lies outside the frame's view.
void drawTranslucentInView(FlowerObjectNode& node, const DrawContext& draw);

// The surface step over a grid whose neighbouring points lie `spacing` apart in
// object units, at `pixelsPerUnit`: the largest power of two that keeps a cell at
// most a few pixels across and at least `minimumCells` cells out of `cells`, or
// `fewestCells` when all of them together span no more than a cell may.
int gridStep(double spacing, double pixelsPerUnit, int cells, int minimumCells, int fewestCells);
