#pragma once

#include "model/DisplaySwitches.h"

class PickKeys;
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
};
