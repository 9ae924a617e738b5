#pragma once

#include "math/Vector3.h"

struct DrawDetail;

// What the drawing code needs to know about the frame being rendered, without
// reaching up to the views: whether the main view is rendering its pick snapshot
// (objects then draw flat pick colours and leave out overlays and decorations), and
// the main camera's up vector (bending strokes are oriented by it). The GL layer
// keeps it current.
struct RenderState {
    bool snapshot = false;
    Vector3 mainCameraUp{0.0, 1.0, 0.0};
    // The level of detail of the view frame being drawn; null draws everything in
    // full (thumbnails, the command-line renderer, tests).
    const DrawDetail* detail = nullptr;
    // While a reduced-detail list is compiled: the object's pixels per object unit,
    // by which surfaces thin their grids; 0 draws full grids.
    double gridPixelsPerUnit = 0.0;
};

RenderState& renderState();
