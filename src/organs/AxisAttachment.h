#pragma once

#include "math/PointSequence.h"

#include <memory>

class FlowerObjectComposite;
class FlowerObjectNode;
class IdCounter;
struct AxisFrame;
struct Vector3;

// What the arrangements by rule (inflorescences, leaves by phyllotaxis) place their
// parts with: the composite attach operations a stroke drawn by hand goes through,
// handed strokes made from the rule instead.

// `points` points evenly up the y axis from the origin to `length`.
PointList uprightLine(double length, int points);

// A composite carrying the node along the node's own axis, as a branch holds what
// it carries.
std::unique_ptr<FlowerObjectComposite> carrying(std::unique_ptr<FlowerObjectNode> node,
                                                IdCounter& ids);

// Attaches `branch`, built upright in its own frame, to `holder` at `position`
// (0..1 along the holder's axis, where `frame` stands), leaning along `direction`,
// with its face (+z) turned towards the holder's tip. The attached branch.
FlowerObjectComposite& attachLeaning(FlowerObjectComposite& holder, double position,
                                     const AxisFrame& frame, const Vector3& direction,
                                     std::unique_ptr<FlowerObjectComposite> branch);
