#pragma once

#include "organs/NodeIdentity.h"

#include <QByteArray>

#include <cstddef>
#include <memory>
#include <vector>

class FlowerObjectNode;
class SceneRoot;

// An object or a scene as the undo history keeps it: its library record, packed,
// with the ids and exact materials a record does not bring back. What is thawed is
// the object that was frozen: the same ids, the same text when saved. A record is a
// small fraction of the sampled geometry it rebuilds, which lets a hundred steps on
// a large plant stay within the history's memory limit.
class FrozenEntry {
public:
    static std::shared_ptr<const FrozenEntry> freeze(const FlowerObjectNode& object);
    static std::shared_ptr<const FrozenEntry> freeze(const SceneRoot& scene);

    // The object or scene again, rebuilt from the record; null for the other kind.
    std::unique_ptr<FlowerObjectNode> thawObject() const;
    std::unique_ptr<SceneRoot> thawScene() const;

    int id() const { return identities_.empty() ? -1 : identities_.front().id; }
    std::size_t bytes() const;

private:
    FrozenEntry(std::vector<NodeIdentity> identities, QByteArray packed)
        : identities_(std::move(identities)), packed_(std::move(packed)) {}

    std::vector<NodeIdentity> identities_;
    QByteArray packed_;
};
