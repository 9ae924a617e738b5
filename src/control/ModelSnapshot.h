#pragma once

#include "control/FrozenEntry.h"
#include "control/LibraryBrowser.h"

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

// Everything an undo step puts back: the library's objects and scenes, the work
// object and the open scene, the library view's tiles, the mode and
// the flower head the floral diagram shows. The objects are frozen records that no
// one edits; a snapshot shares the records of what did not change with the
// snapshot before it.
struct ModelSnapshot {
    using Object = std::shared_ptr<const FrozenEntry>;
    using Scene = std::shared_ptr<const FrozenEntry>;

    std::map<int, Object> library;
    std::map<int, Scene> scenes;
    // The work object: a library entry named by its id, or one of its own.
    int workObjectId = -1;
    Object unstoredWorkObject;
    // The open scene likewise.
    int openSceneId = -1;
    Scene unstoredScene;
    // The focus path and the candidates inside the open scene, as ids.
    std::vector<int> focusPath;
    std::vector<int> candidates;
    LibraryBrowser::Tiles tiles;
    int mode = 0;
    int diagramReceptacleId = -1;
    // What the records frozen for this snapshot hold, in bytes.
    std::size_t bytes = 0;
};
