#pragma once

#include "model/RecordBlocks.h"

#include <vector>

class FlowerObjectNode;
class SceneRoot;

// What a node's record does not bring back when it is read: the ids of the node and
// of everything inside it (a file pairs them only with their closing lines, and a
// reader gives fresh ones), and the exact materials (a reader takes them through
// setMaterial, which resets every alpha). The undo history keeps them beside a
// frozen record, so that what it thaws is the very object that was frozen.
struct NodeIdentity {
    int id = -1;
    MaterialBlock material;
    // A stamen's anther; left as it is for every other kind.
    MaterialBlock antherMaterial;
};

// The identities of the node and its parts, in one fixed walk order.
std::vector<NodeIdentity> identitiesOf(const FlowerObjectNode& node);
std::vector<NodeIdentity> identitiesOf(const SceneRoot& scene);
// Gives the identities back to a node of the same structure, in the same order;
// the walk stops early if the structure has fewer nodes.
void giveIdentities(FlowerObjectNode& node, const std::vector<NodeIdentity>& identities);
void giveIdentities(SceneRoot& scene, const std::vector<NodeIdentity>& identities);
