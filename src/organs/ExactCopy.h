#pragma once

#include <cstddef>
#include <memory>

class FlowerObjectNode;
class SceneNode;
class SceneRoot;

// Copies that keep every node's id, down to the organs in a flower's slots and the
// parts of a plant: what the undo history keeps and puts back, so that a restored
// object is the one that was there (the same picks, the same file) and not a
// relative with fresh ids.
std::unique_ptr<FlowerObjectNode> exactCopy(const FlowerObjectNode& node);
std::unique_ptr<SceneRoot> exactCopy(const SceneRoot& scene);

// Roughly what a node holds in memory, in bytes: its record's length times the ratio
// of sampled geometry to defining data of a typical organ. Good enough to keep the
// undo history within its memory limit.
std::size_t estimatedBytes(const SceneNode& node);
