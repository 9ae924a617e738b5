#include "organs/OrganTexturing.h"

#include "support/SamplePlants.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Calls `visit` with every node of the plant and the whorl it stands in
// (kWhorlNone outside flower heads).
void forEachNode(const FlowerObjectNode& node, int whorl,
                 const std::function<void(const FlowerObjectNode&, int)>& visit) {
    visit(node, whorl);
    if (const FlowerObjectComposite* composite = asComposite(&node)) {
        for (const auto& branch : composite->branches)
            forEachNode(*branch.composite, kWhorlNone, visit);
        for (const auto& segment : composite->segments)
            forEachNode(*segment.node, kWhorlNone, visit);
    } else if (node.kind == kKindTorus) {
        forEachSlot(static_cast<const FlowerTorusNode&>(node), [&](const FlowerPart& slot) {
            if (slot.object)
                forEachNode(*slot.object, slot.whorl, visit);
        });
    }
}

} // namespace

// On a plant with a leaf on its axis and flower heads on its branches, each group
// reaches its own organs and no others, through branches and receptacle slots.
TEST(OrganTexturing, EachGroupReachesExactlyItsOrgansOnBranchesAndInFlowerHeads) {
    OwnModelRecords records;
    auto model = samples::plant(records.records(), 3);
    model->appendAlongAxis(samples::petal(records.records()),
                           samples::line({0, 3, 0}, {0.3, 3.5, 0}), {0, 0, 1});

    struct Case {
        OrganGroup group;
        int organs;
        std::function<bool(const FlowerObjectNode&, int)> belongs;
    };
    const Case cases[] = {
        {OrganGroup::Leaves, 1,
         [](const FlowerObjectNode& n, int whorl) {
             return n.kind == kKindPetal && whorl == kWhorlNone;
         }},
        {OrganGroup::Petals, 18,
         [](const FlowerObjectNode&, int whorl) { return whorl == kWhorlPetal; }},
        {OrganGroup::Sepals, 15,
         [](const FlowerObjectNode&, int whorl) { return whorl == kWhorlSepal; }},
        {OrganGroup::Stems, 7,
         [](const FlowerObjectNode& n, int whorl) {
             return (n.kind == kKindStem && whorl == kWhorlNone) || n.kind == kKindTorus;
         }},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<FlowerObjectNode> plant = model->clone(records.ids);
        EXPECT_EQ(textureOrgans(*plant, c.group, 4, 7), c.organs);
        int textured = 0;
        forEachNode(*plant, kWhorlNone, [&](const FlowerObjectNode& node, int whorl) {
            EXPECT_EQ(node.hasTexture, c.belongs(node, whorl)) << "node " << node.id;
            if (node.hasTexture) {
                EXPECT_EQ(node.textureFront, 4);
                EXPECT_EQ(node.textureBack, 7);
                ++textured;
            }
        });
        EXPECT_EQ(textured, c.organs);
    }
}
