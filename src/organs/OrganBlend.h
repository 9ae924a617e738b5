#pragma once

#include "model/FlowerObjectNode.h"

#include <memory>

// The organ `share` of the way from `from` to `to` (0 the shape of `from`, 1 that of
// `to`): every control point moved on a straight line between its places in the two,
// the surfaces rebuilt at the resolution of `to`. The result is a copy of `to` with
// its id, material and texture, so that it draws and picks as `to` does. Null when
// the two are not of one kind with control points that pair off one to one (a petal
// net of other rows or columns, an axis of another length).
std::unique_ptr<FlowerObjectNode> blendOrgans(const FlowerObjectNode& from,
                                              const FlowerObjectNode& to, double share);
