#pragma once

#include "math/Matrix4.h"
#include "organs/NodeIdentity.h"

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class FlowerObjectComposite;
class FlowerObjectNode;
class SceneRoot;
struct ReadContext;
struct WriteContext;

// An object or a scene as the undo history keeps it: its library record, packed,
// with the ids and exact materials a record does not bring back. What is thawed is
// the object that was frozen: the same ids, the same text when saved. A record is a
// small fraction of the sampled geometry it rebuilds, which lets a hundred steps on
// a large plant stay within the history's memory limit.
//
// A scene is frozen plant by plant, so that a step that edits one plant of a large
// scene packs that plant alone and shares the others with the step before.
class FrozenEntry {
public:
    // Records are written and read through the program's contexts: the texture
    // cache names the images, and the ids the record does not bring back are
    // given back after reading.
    static std::shared_ptr<const FrozenEntry> freeze(const FlowerObjectNode& object,
                                                     const WriteContext& context);
    // A plant for which `unchanged` holds keeps the piece `previous` froze for it;
    // every other plant, and any plant `previous` does not hold, is packed anew.
    static std::shared_ptr<const FrozenEntry>
    freeze(const SceneRoot& scene, const WriteContext& context,
           const FrozenEntry* previous = nullptr,
           const std::function<bool(int plantId)>& unchanged = {});

    // Plants a restore took out of a scene, each with the piece it is exactly.
    struct SparePlant {
        std::shared_ptr<const FrozenEntry> piece;
        std::unique_ptr<FlowerObjectComposite> plant;
    };
    using SparePlants = std::vector<SparePlant>;

    // The object or scene again, rebuilt from the record; null for the other kind.
    std::unique_ptr<FlowerObjectNode> thawObject(const ReadContext& context) const;
    // A plant whose piece is the very piece `liveSource` froze for it is taken from
    // `live`, the scene `liveSource` was frozen from, and one whose piece is that of
    // a plant in `spare` is taken from there, instead of being rebuilt. The plants of
    // `live` the scene does not take go to `displaced` with their pieces, so that an
    // undo followed by a redo swaps plants instead of rebuilding them twice.
    std::unique_ptr<SceneRoot> thawScene(const ReadContext& context,
                                         const FrozenEntry* liveSource = nullptr,
                                         SceneRoot* live = nullptr, SparePlants* spare = nullptr,
                                         SparePlants* displaced = nullptr) const;

    int id() const { return identities_.empty() ? -1 : identities_.front().id; }
    // What this freezing packed: pieces shared with an earlier entry are not counted.
    std::size_t bytes() const { return bytes_; }

private:
    FrozenEntry(std::vector<NodeIdentity> identities, QByteArray packed);
    std::shared_ptr<const FrozenEntry> pieceFor(int plantId) const;

    std::vector<NodeIdentity> identities_;
    QByteArray packed_;
    // A scene's plants, each frozen with where it stands; empty for an object.
    struct FrozenPlant {
        std::shared_ptr<const FrozenEntry> piece;
        Matrix4 placement;
    };
    std::vector<FrozenPlant> plants_;
    std::size_t bytes_ = 0;
};
