#pragma once

#include "model/BloomTime.h"
#include "model/DisplaySwitches.h"

#include <cstdint>

struct DrawDetail;
class PickKeys;
class SurfaceBatches;
class SlotSelection;
class TextureCache;

// What one frame's drawing reads, handed to every draw pass instead of being looked
// up: the GL layer builds it per frame from the view being drawn and the records
// its owner keeps (display switches, texture cache, the view's slot selection).
struct DrawContext {
    // True while the pick snapshot is rendered: objects draw flat pick colours and
    // leave out strokes, overlays and decorations.
    bool snapshot = false;
    // The snapshot's key table, which the pick colours take their keys from; null
    // outside a snapshot (the key is then the id itself).
    PickKeys* pickKeys = nullptr;
    DisplaySwitches display;
    // Null: textured objects draw with their material.
    TextureCache* textures = nullptr;
    // The drawing view's selection of flower head slots; null for none.
    const SlotSelection* slotSelection = nullptr;
    // Every surface from its full grid and nothing skipped: what reduced detail is
    // compared against.
    bool fullDetail = false;
    // The frame's level of detail, filled in by the view: small objects are drawn
    // from its cache at the detail their size on screen needs (unless fullDetail is
    // set), objects outside the view skipped. Null draws everything in full
    // (thumbnails, the command-line renderer).
    DrawDetail* detail = nullptr;
    // While a reduced-detail list is compiled: where the surfaces gather, thinned to
    // its pixels per unit; null draws them at once.
    SurfaceBatches* batches = nullptr;
    // The state of the model and of what decides its drawing, as its owner counts
    // them: a view's frames of one version draw the same content, so the drawing keys
    // its objects computed are kept from frame to frame (an orbit computes none).
    // 0: unknown, the keys are computed afresh every frame.
    std::uint64_t modelVersion = 0;
    // The moment of the flowers' bloom shown; at rest (1) they are drawn as modelled.
    BloomTime bloom;
};
