#include "organs/ExactCopy.h"

#include "math/TextWriter.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerTorusNode.h"

namespace {

// Gives `copy`, a clone of `original`, the original's ids and materials: a clone
// takes its colours through setMaterial, which sets every alpha to the default. A
// clone has the same structure as what it was cloned from, so the two trees are
// walked side by side.
void takeIds(const FlowerObjectNode& original, FlowerObjectNode& copy) {
    copy.id = original.id;
    copy.diffuse = original.diffuse;
    copy.specular = original.specular;
    copy.ambient = original.ambient;
    copy.shininess = original.shininess;
    if (original.kind == kKindStamen)
        static_cast<FlowerStamenNode&>(copy).antherMaterial =
            static_cast<const FlowerStamenNode&>(original).antherMaterial;
    if (const FlowerObjectComposite* from = asComposite(&original)) {
        auto& to = static_cast<FlowerObjectComposite&>(copy);
        for (size_t i = 0; i < from->m_children.size() && i < to.m_children.size(); ++i)
            takeIds(*from->m_children[i], *to.m_children[i]);
        for (size_t j = 0;
             j < from->m_childrenArongAxis.size() && j < to.m_childrenArongAxis.size(); ++j)
            takeIds(*from->m_childrenArongAxis[j], *to.m_childrenArongAxis[j]);
    } else if (original.kind == kKindTorus) {
        const auto& from = static_cast<const FlowerTorusNode&>(original);
        auto& to = static_cast<FlowerTorusNode&>(copy);
        for (int whorl : kSlotWalkOrder) {
            const SlotList& fromSlots = from.slotList(whorl);
            const SlotList& toSlots = to.slotList(whorl);
            for (size_t i = 0; i < fromSlots.size() && i < toSlots.size(); ++i)
                if (fromSlots[i]->object && toSlots[i]->object)
                    takeIds(*fromSlots[i]->object, *toSlots[i]->object);
        }
    }
}

} // namespace

std::unique_ptr<FlowerObjectNode> exactCopy(const FlowerObjectNode& node) {
    std::unique_ptr<FlowerObjectNode> copy = node.clone();
    takeIds(node, *copy);
    return copy;
}

std::size_t estimatedBytes(const SceneNode& node) {
    // A petal's record of a few kilobytes stands for grids of some tens of
    // kilobytes: positions, normals and texture coordinates for every sample.
    constexpr std::size_t kGeometryPerRecordByte = 16;
    TextWriter record;
    node.save(record);
    return record.str().size() * kGeometryPerRecordByte;
}

std::unique_ptr<SceneRoot> exactCopy(const SceneRoot& scene) {
    std::unique_ptr<SceneRoot> copy = scene.clone();
    copy->id = scene.id;
    for (size_t i = 0; i < scene.m_children.size() && i < copy->m_children.size(); ++i)
        takeIds(*scene.m_children[i], *copy->m_children[i]);
    return copy;
}
