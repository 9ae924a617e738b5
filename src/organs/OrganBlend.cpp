#include "organs/OrganBlend.h"

#include "math/RigidPlacement.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"

namespace {

Vector3 mix(const Vector3& a, const Vector3& b, double share) {
    return a * (1.0 - share) + b * share;
}

double mix(double a, double b, double share) {
    return a * (1.0 - share) + b * share;
}

// Moves every point of `into` (a copy of `to`) the rest of the way back to `from`;
// false when the two lists differ in length.
bool mixPoints(const PointList& from, PointList& into, double share) {
    if (from.size() != into.size() || into.empty())
        return false;
    for (std::size_t i = 0; i < into.size(); ++i)
        into[i] = mix(from[i], into[i], share);
    return true;
}

// Moves the main axis and the radius along it of `into` (a copy of `to`) the rest of
// the way back to `from`'s; false when the axes differ in length.
template <typename Organ> bool mixAxis(const Organ& from, Organ& into, double share) {
    if (!mixPoints(from.mainAxis.points, into.mainAxis.points, share))
        return false;
    into.radius = mix(from.radius, into.radius, share);
    return true;
}

// A copy of `to` that keeps its id. The id is what the pick snapshot names, so a
// click on the blend selects the organ it shows.
template <typename Organ> std::unique_ptr<Organ> copyOf(const Organ& to) {
    IdCounter ids;
    std::unique_ptr<FlowerObjectNode> copy = to.clone(ids);
    copy->id = to.id;
    return std::unique_ptr<Organ>(static_cast<Organ*>(copy.release()));
}

// Built from the mixed net alone: a copy of `to` would copy its surface only for it
// to be sampled again.
std::unique_ptr<FlowerObjectNode> blendPetals(const FlowerPetalNode& from,
                                              const FlowerPetalNode& to, double share) {
    const Grid& a = from.controlPoints().points();
    Grid net = to.controlPoints().points();
    if (a.rows() != net.rows() || a.columns() != net.columns() || net.empty())
        return nullptr;
    for (int row = 0; row < net.rows(); ++row)
        for (int column = 0; column < net.columns(); ++column)
            net.at(row, column) = mix(a.at(row, column), net.at(row, column), share);
    auto blend = std::make_unique<FlowerPetalNode>(to.id);
    blend->copyMaterialAndTextureFrom(to);
    blend->m_resVert = to.m_resVert;
    blend->m_resHori = to.m_resHori;
    blend->setControlPoints(PetalControlPointManager(std::move(net)));
    blend->rebuildShape();
    return blend;
}

std::unique_ptr<FlowerObjectNode> blendStems(const FlowerStemNode& from, const FlowerStemNode& to,
                                             double share) {
    auto blend = copyOf(to);
    if (!mixAxis(from, *blend, share))
        return nullptr;
    blend->rebuildTube();
    return blend;
}

std::unique_ptr<FlowerObjectNode> blendPistils(const FlowerPistilNode& from,
                                               const FlowerPistilNode& to, double share) {
    auto blend = copyOf(to);
    if (!mixPoints(from.m_basicCurve.points, blend->m_basicCurve.points, share))
        return nullptr;
    blend->buildPistil();
    return blend;
}

// The filament follows its axis; an anther both have follows its own axis and its
// placement. An anther only one of them has stays as `to` has it.
std::unique_ptr<FlowerObjectNode> blendStamens(const FlowerStamenNode& from,
                                               const FlowerStamenNode& to, double share) {
    auto blend = copyOf(to);
    if (!mixAxis(from, *blend, share))
        return nullptr;
    blend->rebuildFilament();
    if (mixPoints(from.m_antherAxis.points, blend->m_antherAxis.points, share)) {
        blend->antherRadius = mix(from.antherRadius, to.antherRadius, share);
        blend->RotAndTrans = blendPlacements(from.RotAndTrans, to.RotAndTrans, share);
        blend->rebuildAnther();
    }
    return blend;
}

} // namespace

std::unique_ptr<FlowerObjectNode> blendOrgans(const FlowerObjectNode& from,
                                              const FlowerObjectNode& to, double share) {
    if (from.kind != to.kind)
        return nullptr;
    switch (to.kind) {
    case kKindPetal:
        return blendPetals(static_cast<const FlowerPetalNode&>(from),
                           static_cast<const FlowerPetalNode&>(to), share);
    case kKindStem:
        return blendStems(static_cast<const FlowerStemNode&>(from),
                          static_cast<const FlowerStemNode&>(to), share);
    case kKindPistil:
        return blendPistils(static_cast<const FlowerPistilNode&>(from),
                            static_cast<const FlowerPistilNode&>(to), share);
    case kKindStamen:
        return blendStamens(static_cast<const FlowerStamenNode&>(from),
                            static_cast<const FlowerStamenNode&>(to), share);
    default:
        return nullptr;
    }
}
