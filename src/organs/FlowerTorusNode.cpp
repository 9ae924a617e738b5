// The flower head itself. Sections: construction and profile, slots and their
// layout, organs in slots, edits.
#include "organs/FlowerTorusNode.h"

#include "interaction/StrokeGeometry.h"
#include "math/Diagnostics.h"
#include "model/FlowerObjectComposite.h"
#include "organs/ModelledBud.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
const Vector3 kUp(0.0, 1.0, 0.0);
const Vector3 kOut(0.0, 0.0, 1.0);

Stroke defaultProfile() {
    const Vector3 outline[] = {{0, 1, 0},       {0.2, 1.04, 0}, {0.4, 0.95, 0}, {0.35, 0.85, 0},
                               {0.23, 0.65, 0}, {0.04, 0.4, 0}, {0.03, 0, 0}};
    Stroke rough;
    for (const Vector3& p : outline)
        rough.add(p * 0.5);
    Stroke profile;
    Stroke::splineResample(rough, profile, 20);
    return profile;
}

// The rotation about +y that turns the horizontal part of `direction` onto +z; the
// identity when the direction has no horizontal part.
Matrix4 turnTowards(const Vector3& direction) {
    const Vector3 horizontal(direction.x, 0.0, direction.z);
    if (horizontal.length() < 1e-12)
        return Matrix4();
    return rotationBetween(kOut, horizontal).matrix;
}

std::unique_ptr<FlowerPart> copySlot(const FlowerPart& slot, IdCounter& ids) {
    auto copy = std::make_unique<FlowerPart>();
    if (slot.object)
        copy->object = slot.object->clone(ids);
    copy->whorl = slot.whorl;
    copy->index = slot.index;
    copy->radius = slot.radius;
    copy->theta = slot.theta;
    copy->size = slot.size;
    copy->basicTransAndRot = slot.basicTransAndRot;
    copy->rotation = slot.rotation;
    return copy;
}

// Where each whorl's ring starts and whether its first slot stands on the axis,
// by whorl code.
struct RingStart {
    double phase;
    bool centred;
};
constexpr RingStart kRingStarts[4] = {
    {kPi, false},      // petals
    {0.0, true},       // pistils
    {kPi / 2, false},  // stamens
    {-kPi / 2, false}, // sepals
};

} // namespace

// --- Construction and profile

FlowerTorusNode::FlowerTorusNode(int nodeId, const ResolutionPair& resolution)
    : FlowerObjectNode(nodeId, kKindTorus) {
    m_basicCurve = defaultProfile();
    m_resH = resolution.horizontal;
    m_resV = resolution.vertical;
    rebuildBody();
    updateMainAxis();
    diffuse = {0.2f, 0.8f, 0.0f, 1.0f};
    specular = {0.1f, 0.1f, 0.1f, 1.0f};
    ambient = {0.2f, 0.8f, 0.0f, 1.0f};
    shininess = 128.0f;
}

void FlowerTorusNode::setProfile(int resH, int resV, const Stroke& stroke) {
    if (resH <= 2 || resV <= 2 || stroke.size() < 3)
        return;
    m_resH = resH;
    m_resV = resV;
    m_basicCurve = stroke;
    m_basicCurve.resampleInPlace(m_resV);
    replaceAllPlacements();
    rebuildBody();
    updateMainAxis();
}

bool FlowerTorusNode::setOuterRadius(double radius, int resH, int resV) {
    if (resH <= 2 || resV <= 2 || m_basicCurve.size() < 3 || m_basicCurve.back().x == 0.0)
        return false;
    // The factor keeps the profile on its side of the axis.
    const double factor = radius / std::abs(m_basicCurve.back().x);
    Stroke widened = m_basicCurve;
    for (Vector3& p : widened.points)
        p.x *= factor;
    setProfile(resH, resV, widened);
    return true;
}

Whorl& FlowerTorusNode::whorl(int code) {
    assert(isWhorl(code));
    // Any other code stands for the petals, as a slot list read from an old file may.
    return whorls_[isWhorl(code) ? code : kWhorlPetal];
}

const Whorl& FlowerTorusNode::whorl(int code) const {
    return const_cast<FlowerTorusNode*>(this)->whorl(code);
}

double FlowerTorusNode::height() const {
    Vector3 lo, hi;
    boundingBox(lo, hi, Matrix4(), true);
    return hi.y;
}

void FlowerTorusNode::updateMainAxis() {
    const double h = height();
    mainAxis.points = {{0, 0, 0}, {0, h / 2, 0}, {0, h, 0}};
}

// --- Slots and their layout

Matrix4 FlowerTorusNode::placeSlot(double theta, double radius) const {
    return placeOnProfile(theta, radius, m_basicCurve.points);
}

void FlowerTorusNode::replaceAllPlacements() {
    forEachSlot(*this, [this](FlowerPart& slot) {
        slot.basicTransAndRot = placeSlot(slot.theta, slot.radius);
    });
}

void FlowerTorusNode::addSlot(int code, double radius, double theta, int size) {
    SlotList& list = whorl(code).parts;
    auto slot = std::make_unique<FlowerPart>();
    slot->whorl = code;
    slot->radius = radius;
    slot->theta = theta;
    slot->size = size;
    slot->basicTransAndRot = placeSlot(theta, radius);
    slot->index = static_cast<int>(list.size());
    list.push_back(std::move(slot));
}

void FlowerTorusNode::layoutRing(int code, double ringRadius) {
    const RingStart& start = kRingStarts[isWhorl(code) ? code : kWhorlPetal];
    whorl(code).layoutRing(m_basicCurve.points, start.centred, ringRadius, start.phase);
}

void FlowerTorusNode::layoutBand(int code, double inner, double outer, int size,
                                 double divergence) {
    whorl(code).layoutBand(code, m_basicCurve.points, inner, outer, size, divergence);
}

void FlowerTorusNode::relayoutRings(double pistilRadius, double stamenRadius, double petalRadius,
                                    double sepalRadius) {
    const double radii[4] = {pistilRadius, stamenRadius, petalRadius, sepalRadius};
    for (int ring = 0; ring < 4; ++ring)
        if (!whorl(kWhorlsInsideOut[ring]).isBand())
            layoutRing(kWhorlsInsideOut[ring], radii[ring]);
}

void FlowerTorusNode::clearSlots(int code) {
    whorl(code).parts.clear();
}

void FlowerTorusNode::removeLastSlots(int code, int count) {
    SlotList& list = whorl(code).parts;
    const size_t removed = std::min(list.size(), static_cast<size_t>(std::max(count, 0)));
    list.resize(list.size() - removed);
}

// --- Organs in slots

void FlowerTorusNode::attachOrgan(int code, int index, std::unique_ptr<FlowerObjectNode> organ,
                                  const PointList& axisPoints, const Vector3& side) {
    SlotList& list = whorl(code).parts;
    if (!organ || index < 0 || index >= static_cast<int>(list.size()) || axisPoints.empty())
        return;
    FlowerPart& slot = *list[index];
    // The drawn axis, moved to the origin and turned so that it runs up +y with the
    // side direction along +z, is the organ's new shape; the slot's rotation turns
    // it back onto the drawn directions.
    Stroke axis{axisPoints};
    axis.translate(-axis.front());
    const Vector3 d = axis.back() - axis.front();
    const Matrix4 upright = rotationBetween(d, kUp).matrix;
    Vector3 sideUpright = upright.rotateVector(side);
    sideUpright.y = 0.0;
    const Matrix4 facing =
        sideUpright.length() > 1e-12 ? rotationBetween(sideUpright, kOut).matrix : Matrix4();
    const Matrix4 toOrgan = facing * upright;
    axis.transform(toOrgan);
    organ->reshapeByStroke(axis);
    Matrix4 slotRotation = slot.basicTransAndRot;
    slotRotation.setTranslation({0, 0, 0});
    slot.rotation = inverted(slotRotation) * inverted(toOrgan);
    slot.object = std::move(organ);
}

bool FlowerTorusNode::replaceOrgan(int organId, std::unique_ptr<FlowerObjectNode> organ,
                                   const Vector3& reference) {
    if (!organ)
        return false;
    return forEachSlot(*this, [&](FlowerPart& slot) {
        if (!slot.object || slot.object->id != organId)
            return false;
        // The reference direction in the organ's frame chooses the side the new
        // organ faces; the old shape is kept where it was in the receptacle.
        const Vector3 local = inverted(slot.organMatrix()).rotateVector(reference);
        const Matrix4 turn = turnTowards(local);
        const Matrix4 back = inverted(turn);
        slot.rotation = slot.rotation * turn;
        Stroke axis = slot.object->mainAxis;
        axis.transform(back);
        organ->reshapeByStroke(axis);
        if (slot.object->kind == kKindSketch)
            FlowerObjectComposite::takeStrokes(*slot.object, *organ, back);
        slot.object = std::move(organ);
        return true;
    });
}

bool FlowerTorusNode::detachOrgan(int organId) {
    return forEachSlot(*this, [organId](FlowerPart& slot) {
        if (!slot.object || slot.object->id != organId)
            return false;
        slot.object.reset();
        return true;
    });
}

OrganLookup FlowerTorusNode::findOrgan(int organId) {
    if (id == organId)
        return {true, this, this, Matrix4()};
    OrganLookup found;
    forEachSlot(*this,
                [&](FlowerPart& slot) {
                    FlowerObjectNode* organ = slot.object.get();
                    if (!organ)
                        return false;
                    const Matrix4 m = slot.organMatrix();
                    if (organ->id == organId) {
                        found = {true, this, organ, m};
                    } else if (FlowerObjectComposite* composite = asComposite(organ)) {
                        const CompositeLookup inner = composite->findChild(organId);
                        if (inner.found)
                            found = {true, inner.holder, inner.object, m * inner.matrix};
                    } else if (organ->kind == kKindTorus) {
                        found = static_cast<FlowerTorusNode&>(*organ).findOrgan(organId);
                        found.matrix = m * found.matrix;
                    }
                    return found.found;
                },
                {kWhorlPistil, kWhorlPetal, kWhorlStamen, kWhorlSepal});
    return found;
}

SlotHit FlowerTorusNode::nearestEmptySlot(const Vector3& origin, const Vector3& direction) const {
    SlotHit hit;
    double best = 1000000.0;
    const Vector3 unitDirection = unit(direction);
    for (int code : kWhorlsInsideOut)
        for (const auto& slot : whorl(code).parts) {
            if (slot->object)
                continue;
            const Vector3 p = slot->basicTransAndRot.translationPart();
            const double d = distanceToAxis(p, origin, unitDirection);
            if (d < best) {
                best = d;
                hit.whorl = code;
                hit.index = slot->index;
                hit.position = p;
            }
        }
    if (!(best < 0.01))
        return {};
    hit.found = true;
    const Vector3 horizontal(hit.position.x, 0.0, hit.position.z);
    if (horizontal.length() < 0.0001) {
        hit.side = unit(Vector3(-unitDirection.x, 0.0, -unitDirection.z));
    } else {
        hit.side = unit(cross(horizontal, kUp));
        if (dot(hit.side, unitDirection) > 0.0)
            hit.side = -hit.side;
    }
    return hit;
}

// --- Edits

void FlowerTorusNode::reshapeByStroke(const Stroke& stroke) {
    if (stroke.size() < 3)
        return;
    const double h = height();
    double f = h != 0.0 ? stroke.back().y / h : 0.0;
    if (f <= 0.2) {
        f = 0.2;
        diagnostic("flower head stroke too short: scaled by the smallest factor, 0.2");
    }
    // A stroke as tall as the receptacle already is (a flower head re-placed along a
    // plant's axis) leaves it as it is, instead of rebuilding every organ unchanged.
    if (std::abs(f - 1.0) < 1e-9)
        return;
    scale(f);
}

void FlowerTorusNode::scale(double factor) {
    if (factor < 0.0)
        return;
    m_basicCurve.scale(factor);
    rebuildBody();
    replaceAllPlacements();
    forEachSlot(*this, [factor](FlowerPart& slot) {
        if (slot.object)
            slot.object->scale(factor);
    });
    if (modelledBud)
        modelledBud = modelledBud->scaled(factor);
    updateMainAxis();
}

void FlowerTorusNode::editByPick(int row, int column, const Vector3& point, const Parameters&) {
    if (row == 0 && column == 1 && m_basicCurve.size() >= 2) {
        const Vector3 top = m_basicCurve.front();
        const Vector3 bottom = m_basicCurve.back();
        if (top.y != bottom.y) {
            m_basicCurve.scale((point.y - bottom.y) / (top.y - bottom.y));
            rebuildBody();
            replaceAllPlacements();
        }
    }
    updateMainAxis();
}

const ModelledBud* FlowerTorusNode::openingBud() const {
    return modelledBud && modelledBud->fits(*this) ? modelledBud.get() : nullptr;
}

std::unique_ptr<FlowerObjectNode> FlowerTorusNode::clone(IdCounter& ids) const {
    auto copy = std::make_unique<FlowerTorusNode>(ids.nextId(), ResolutionPair{m_resV, m_resH});
    copy->m_basicCurve = m_basicCurve;
    copy->m_resH = m_resH;
    copy->m_resV = m_resV;
    copy->rebuildBody();
    copy->copyMaterialAndTextureFrom(*this);
    copy->copyStrokesFrom(*this);
    copy->mainAxis = mainAxis;
    for (int code : kWhorlsInsideOut) {
        Whorl& copied = copy->whorl(code);
        for (const auto& slot : whorl(code).parts)
            copied.parts.push_back(copySlot(*slot, ids));
        copied.layout = whorl(code).layout;
    }
    copy->bloom = bloom;
    copy->modelledBud = modelledBud;
    return copy;
}

void FlowerTorusNode::boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix,
                                  bool flag) const {
    body.boundingBox(matrix, min, max);
    forEachSlot(*this, [&](const FlowerPart& slot) {
        if (!slot.object)
            return;
        Vector3 lo, hi;
        slot.object->boundingBox(lo, hi, matrix * slot.organMatrix(), flag);
        widenBox(min, max, lo);
        widenBox(min, max, hi);
    });
}
