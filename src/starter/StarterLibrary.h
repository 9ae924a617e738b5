#pragma once

#include "library/LibraryFile.h"

#include <memory>
#include <vector>

class FlowerObjectNode;
class IdCounter;
class SceneRoot;
struct Parameters;

// The library a new user starts from: organs, flower heads, plants and a scene,
// each made from synthetic pen strokes through the same constructors and slot
// edits the modes use, so that every entry is something the program itself could
// have made and stored. Built the same way every time.
class StarterLibrary {
public:
    // Builds every entry, taking ids from `ids` and the organs' resolutions and
    // widths from `parameters`. The leaves wear `leafTexture`, an index of the
    // texture cache the library is written with (-1: none).
    StarterLibrary(IdCounter& ids, const Parameters& parameters, int leafTexture = -1);
    ~StarterLibrary();

    // Per category in ascending id order, as the library file writer wants them.
    LibraryContents contents() const;

private:
    void store(std::unique_ptr<FlowerObjectNode> object, int category);

    std::vector<std::unique_ptr<FlowerObjectNode>> objects_;
    std::vector<int> categories_;
    std::vector<std::unique_ptr<SceneRoot>> scenes_;
};
