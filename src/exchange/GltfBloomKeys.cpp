#include "exchange/GltfBloomKeys.h"

#include "math/RigidPlacement.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ModelledBud.h"

#include <algorithm>

bool GltfBloomKeys::animatable(const FlowerTorusNode& torus, int whorl, int index) {
    const FlowerPart& slot = *torus.whorl(whorl).parts[index];
    if (!isRigid(slot.basicTransAndRot) || slot.rotation.translationPart().length() > 1e-12)
        return false;
    const ModelledBud* modelled = torus.openingBud();
    return !modelled || isRigid(modelled->slotFrameAt(slot, whorl, index, 0.0));
}

SlotBloomKeys GltfBloomKeys::of(const FlowerTorusNode& torus, int whorl, int index) {
    const FlowerPart& slot = *torus.whorl(whorl).parts[index];
    const OpeningSpan& span = torus.bloom.span(whorl);
    const double length = std::max(span.end - span.start, 1e-4);
    const ModelledBud* modelled = torus.openingBud();
    const FlowerBud* worked = modelled ? nullptr : &buds_.try_emplace(&torus, torus).first->second;
    SlotBloomKeys keys;
    std::array<double, 4> previous{0.0, 0.0, 0.0, 1.0};
    for (int k = 0; k < keys_; ++k) {
        const double own = span.start + length * k / (keys_ - 1);
        const double openness = torus.bloom.openness(whorl, own);
        const Matrix4 placement = modelled ? modelled->slotFrameAt(slot, whorl, index, openness)
                                           : worked->slotFrameAt(slot, whorl, index, openness);
        std::array<double, 4> q = quaternionOf(placement);
        double side = 0.0;
        for (int i = 0; i < 4; ++i)
            side += q[i] * previous[i];
        if (side < 0.0)
            for (double& c : q)
                c = -c;
        previous = q;
        keys.ownTimes.push_back(own);
        keys.rotations.push_back(q);
        if (modelled) {
            keys.translations.push_back(placement.translationPart());
            keys.budWeights.push_back(1.0 - openness);
        }
    }
    return keys;
}
