#pragma once

#include "model/FlowerObjectNode.h"
#include "model/Parameters.h"
#include "organs/BloomSchedule.h"
#include "organs/StemShape.h"
#include "organs/Whorl.h"

#include <array>
#include <functional>
#include <memory>
#include <type_traits>

class ModelledBud;
struct RecordInput;

// The empty slot nearest to a picking ray, and the side an organ drawn there faces.
struct SlotHit {
    bool found = false;
    int whorl = kWhorlNone;
    int index = -1;
    Vector3 position;
    Vector3 side;
};

// Where an organ stands below a receptacle.
struct OrganLookup {
    bool found = false;
    FlowerObjectNode* holder = nullptr;
    FlowerObjectNode* organ = nullptr;
    Matrix4 matrix;
};

// A flower head: a receptacle body revolved from a profile curve, carrying organs in
// four whorls of slots (pistils, stamens, petals, sepals), each laid out in a ring or
// in an equal-area spiral band.
//
// The class is written in three files: this one's own (the receptacle, its profile,
// the slots' placement and the organs in them), FlowerTorusDrawing.cpp (drawing and
// OBJ export) and FlowerTorusRecords.cpp (the library record).
class FlowerTorusNode : public FlowerObjectNode {
public:
    static constexpr double kDefaultDivergence = 137.5; // degrees

    // A receptacle with the default profile, built at `resolution` (the receptacle
    // resolutions of the parameter values for a new one).
    FlowerTorusNode(int nodeId, const ResolutionPair& resolution);

    void drawWireframe(const DrawContext& draw) override;
    void drawSolid(const DrawContext& draw) override;
    void drawControlPoints(const DrawContext& draw) override;
    void drawPlain(const DrawContext& draw) override;
    void drawTranslucent(const DrawContext& draw) override;
    void drawOverlay(const DrawContext&) override {}
    int exportObj(ObjExport& out, const Matrix4& matrix, int vertexCount) override;
    void save(TextWriter& out, const WriteContext& context) const override;
    // Scales the receptacle so that its height matches the stroke's end.
    void reshapeByStroke(const Stroke& stroke) override;
    void scale(double factor) override;
    std::unique_ptr<FlowerObjectNode> clone(IdCounter& ids) const override;
    // (0, 1) drags the top of the receptacle: the profile is stretched to the new
    // height while the organs keep their size.
    void editByPick(int row, int column, const Vector3& point,
                    const Parameters& parameters) override;
    void boundingBox(Vector3& min, Vector3& max, const Matrix4& matrix, bool flag) const override;

    // Replaces the profile (resampled into m_resV segments) and both resolutions;
    // ignored for resolutions of 2 or less or a stroke of fewer than 3 points.
    void setProfile(int resH, int resV, const Stroke& stroke);
    // Widens or narrows the profile about the axis so that its last point (the base)
    // lies `radius` from the axis, and rebuilds with the given resolutions. A profile
    // whose base is on the axis cannot be scaled that way and stays as it is, as do
    // the cases setProfile ignores; the result says whether anything changed.
    bool setOuterRadius(double radius, int resH, int resV);
    Matrix4 placeSlot(double theta, double radius) const;
    void replaceAllPlacements();
    void addSlot(int whorl, double radius, double theta, int size);
    // Spreads the whorl's slots evenly on the ring at profile position ringRadius:
    // pistils centred with the first on the axis, stamens from a quarter turn,
    // petals from a half turn and sepals from a quarter turn back.
    void layoutRing(int whorl, double ringRadius);
    // An equal-area spiral of organs of size `size` over the band between the
    // profile positions inner and outer, successive organs turned by `divergence`
    // degrees.
    void layoutBand(int whorl, double inner, double outer, int size,
                    double divergence = kDefaultDivergence);
    // Rings for every whorl laid out in a ring.
    void relayoutRings(double pistilRadius, double stamenRadius, double petalRadius,
                       double sepalRadius);
    void clearSlots(int whorl);
    // Deletes up to `count` slots from the end of the whorl's list, with their organs.
    void removeLastSlots(int whorl, int count);
    // Puts `organ` into slot `index` of `whorl`, re-fitted to the axis points drawn
    // on the receptacle with its +z towards `side`. A slot that does not exist
    // deletes the organ.
    void attachOrgan(int whorl, int index, std::unique_ptr<FlowerObjectNode> organ,
                     const PointList& axisPoints, const Vector3& side);
    // Puts `organ` in place of the organ with this id, turned towards `reference`.
    bool replaceOrgan(int organId, std::unique_ptr<FlowerObjectNode> organ,
                      const Vector3& reference);
    bool detachOrgan(int organId);
    OrganLookup findOrgan(int organId);
    SlotHit nearestEmptySlot(const Vector3& origin, const Vector3& direction) const;
    // Recomputes the main axis from the receptacle's height.
    void updateMainAxis();

    // The whorl of a whorl code (kWhorlPetal .. kWhorlSepal).
    Whorl& whorl(int code);
    const Whorl& whorl(int code) const;

    int m_resH = 0;
    int m_resV = 0;
    StemShape body;
    Stroke m_basicCurve;
    // How the head opens from its bud, whorl by whorl.
    BloomSchedule bloom;
    // The bud the head opens from, when one was modelled for it; otherwise, or when
    // the bud no longer has the head's slots, the head opens from the bud FlowerBud
    // works out.
    std::shared_ptr<const ModelledBud> modelledBud;
    // The modelled bud the head opens from: null when it has none, or none that has
    // its slots.
    const ModelledBud* openingBud() const;

    // Every organ of the head at `time` of its own bloom (below 1), whorl by whorl
    // from the inside out, with its placement relative to the head then. The organ is
    // the slot's own, or a blend of bud and flower that lasts until the next organ.
    void forEachOrganOpening(double time,
                             const std::function<void(FlowerObjectNode& organ,
                                                      const Matrix4& placement)>& visit,
                             const DrawContext& draw) const;

protected:
    // The receptacle's body and every slot: its placement and what it holds. 0 while
    // the view's slot selection is about this receptacle, whose marks and selected
    // slots show in its drawing.
    std::uint64_t geometryKey(const DrawContext& draw) const override;

private:
    void rebuildBody() { body.buildRevolution(m_basicCurve, m_resV, m_resH); }
    // The slots at the frame's moment of the bloom: as modelled (drawSlots) or opening.
    void drawSlotsAt(const DrawContext& draw);
    void drawSlots(const DrawContext& draw);
    // The draw pass `pass` of every organ at the frame's moment of the bloom.
    template <typename Pass> void drawOrgans(const DrawContext& draw, Pass pass);
    // The height of the receptacle with its organs.
    double height() const;

    // Indexed by whorl code.
    std::array<Whorl, 4> whorls_;
};

// Calls `visit` with every slot of the receptacle, whorl by whorl in `order`; a const
// receptacle hands out const slots. A visitor that returns bool ends the walk by
// returning true, and the walk then answers true.
template <typename Torus, typename Visit>
bool forEachSlot(Torus& torus, Visit&& visit, const std::array<int, 4>& order = kWhorlsInsideOut) {
    using Slot = std::conditional_t<std::is_const_v<Torus>, const FlowerPart, FlowerPart>;
    for (int code : order)
        for (const auto& slot : torus.whorl(code).parts) {
            Slot& part = *slot;
            if constexpr (std::is_same_v<std::invoke_result_t<Visit&, Slot&>, bool>) {
                if (visit(part))
                    return true;
            } else {
                visit(part);
            }
        }
    return false;
}

// The node as a receptacle; null for a node of another kind (or none).
inline const FlowerTorusNode* asTorus(const FlowerObjectNode* node) {
    return node && node->kind == kKindTorus ? static_cast<const FlowerTorusNode*>(node) : nullptr;
}
inline FlowerTorusNode* asTorus(FlowerObjectNode* node) {
    return node && node->kind == kKindTorus ? static_cast<FlowerTorusNode*>(node) : nullptr;
}

std::unique_ptr<FlowerObjectNode> readTorus(RecordInput& input);
