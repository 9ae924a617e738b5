#pragma once

#include "model/Parameters.h"

class SlotSelection;
class TextureCache;

// Gives every plant object its fresh id. Counting starts at 1; the controller owns
// the counter the program uses and resets it with the library.
class IdCounter {
public:
    int nextId() { return next_++; }
    void reset() { next_ = 1; }
    int peek() const { return next_; }

private:
    int next_ = 1;
};

// The display switches that drawing reads; the controller owns and toggles them.
struct DisplaySwitches {
    bool drawStrokes = true;
    bool showSketch = true;
    bool showBillboard = false;
};

// What the plant objects read from above them: the id counter, the parameter
// values, the display switches, the texture cache and the view's selection of
// flower head slots. The objects never include the controller or a dialog; the
// owner of these records installs them here. Until then (and in tests) built-in
// defaults serve, with no texture cache and nothing selected.
struct ModelContext {
    IdCounter* ids = nullptr;
    const Parameters* parameters = nullptr;
    const DisplaySwitches* display = nullptr;
    TextureCache* textures = nullptr;
    const SlotSelection* slotSelection = nullptr;
};

// The installed context; every member is non-null except possibly `textures` and
// `slotSelection`.
const ModelContext& modelContext();
// Installs a context; null members fall back to the built-in defaults. Returns the
// previous context so that a scope can restore it.
ModelContext installModelContext(const ModelContext& context);

// Shorthands for the organs.
inline int nextId() {
    return modelContext().ids->nextId();
}
inline const Parameters& parameters() {
    return *modelContext().parameters;
}
inline const DisplaySwitches& displaySwitches() {
    return *modelContext().display;
}
inline TextureCache* textureCache() {
    return modelContext().textures;
}
inline const SlotSelection* slotSelection() {
    return modelContext().slotSelection;
}

// Installs a context for the lifetime of the object (tests, the command-line tool).
class ScopedModelContext {
public:
    explicit ScopedModelContext(const ModelContext& context)
        : previous_(installModelContext(context)) {}
    ~ScopedModelContext() { installModelContext(previous_); }
    ScopedModelContext(const ScopedModelContext&) = delete;
    ScopedModelContext& operator=(const ScopedModelContext&) = delete;

private:
    ModelContext previous_;
};
