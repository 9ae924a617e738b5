#pragma once

#include "model/IdCounter.h"
#include "model/Parameters.h"
#include "model/ReadContext.h"

class TextureCache;

// What a test builds, copies and reads objects with, handed down as the controller
// hands its own: the id counter and the parameter values of whoever owns the
// objects (a test's own, or the controller's in a window test).
struct ModelRecords {
    IdCounter& ids;
    const Parameters& parameters;

    int nextId() const { return ids.nextId(); }
    ReadContext reading(TextureCache* textures = nullptr) const {
        return {ids, parameters, textures, {}};
    }
};

// A test's own id counter (counting from 1) and built-in parameter values.
struct OwnModelRecords {
    IdCounter ids;
    Parameters parameters;

    ModelRecords records() { return {ids, parameters}; }
    int nextId() { return ids.nextId(); }
    ReadContext reading(TextureCache* textures = nullptr) {
        return {ids, parameters, textures, {}};
    }
};
