#include "organs/Phyllotaxis.h"

#include <algorithm>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

} // namespace

int Phyllotaxis::organsPerNode() const {
    switch (kind) {
    case PhyllotaxisKind::Opposite:
    case PhyllotaxisKind::Decussate:
        return 2;
    case PhyllotaxisKind::Whorled:
        return std::max(2, perWhorl);
    default:
        return 1;
    }
}

int Phyllotaxis::nodesFor(int organs) const {
    const int perNode = organsPerNode();
    return (std::max(0, organs) + perNode - 1) / perNode;
}

double Phyllotaxis::azimuth(int index) const {
    const int perNode = organsPerNode();
    const int node = index / perNode;
    const int place = index % perNode;
    switch (kind) {
    case PhyllotaxisKind::Spiral:
        return index * divergenceDegrees * kDegree;
    case PhyllotaxisKind::Distichous:
        return node * 180.0 * kDegree;
    case PhyllotaxisKind::Opposite:
        return place * 180.0 * kDegree;
    case PhyllotaxisKind::Decussate:
        return (place * 180.0 + node * 90.0) * kDegree;
    case PhyllotaxisKind::Whorled: {
        const double step = 360.0 / perNode;
        return (place + (node % 2) * 0.5) * step * kDegree;
    }
    }
    return 0.0;
}
