#include "organs/NodeIdentity.h"

#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerTorusNode.h"

namespace {

// Calls `visit` on the node and then on every node inside it: a composite's
// branches and segments, a flower head's organs slot by slot.
template <typename Node, typename Visit> void walk(Node& node, Visit& visit) {
    visit(node);
    if (auto* composite = asComposite(&node)) {
        for (const auto& branch : composite->branches)
            walk(static_cast<Node&>(*branch.composite), visit);
        for (const auto& segment : composite->segments)
            walk(static_cast<Node&>(*segment.node), visit);
    } else if (node.kind == kKindTorus) {
        using Torus =
            std::conditional_t<std::is_const_v<Node>, const FlowerTorusNode, FlowerTorusNode>;
        forEachSlot(static_cast<Torus&>(node), [&visit](auto& slot) {
            if (slot.object)
                walk(static_cast<Node&>(*slot.object), visit);
        });
    }
}

void collect(const FlowerObjectNode& node, std::vector<NodeIdentity>& identities) {
    auto visit = [&identities](const FlowerObjectNode& n) {
        NodeIdentity identity{n.id, {n.diffuse, n.specular, n.ambient, n.shininess}, {}};
        if (n.kind == kKindStamen)
            identity.antherMaterial = static_cast<const FlowerStamenNode&>(n).antherMaterial;
        identities.push_back(identity);
    };
    walk(node, visit);
}

void give(FlowerObjectNode& node, const std::vector<NodeIdentity>& identities, size_t& next) {
    auto visit = [&identities, &next](FlowerObjectNode& n) {
        if (next >= identities.size())
            return;
        const NodeIdentity& identity = identities[next++];
        n.id = identity.id;
        n.diffuse = identity.material.diffuse;
        n.specular = identity.material.specular;
        n.ambient = identity.material.ambient;
        n.shininess = identity.material.shininess;
        if (n.kind == kKindStamen)
            static_cast<FlowerStamenNode&>(n).antherMaterial = identity.antherMaterial;
    };
    walk(node, visit);
}

} // namespace

std::vector<NodeIdentity> identitiesOf(const FlowerObjectNode& node) {
    std::vector<NodeIdentity> identities;
    collect(node, identities);
    return identities;
}

std::vector<NodeIdentity> identitiesOf(const SceneRoot& scene) {
    std::vector<NodeIdentity> identities{{scene.id, {}, {}}};
    for (const auto& plant : scene.plants)
        collect(*plant.composite, identities);
    return identities;
}

void giveIdentities(FlowerObjectNode& node, const std::vector<NodeIdentity>& identities) {
    size_t next = 0;
    give(node, identities, next);
}

void giveIdentities(SceneRoot& scene, const std::vector<NodeIdentity>& identities) {
    if (identities.empty())
        return;
    scene.id = identities.front().id;
    size_t next = 1;
    for (const auto& plant : scene.plants)
        give(*plant.composite, identities, next);
}
