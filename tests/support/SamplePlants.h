#pragma once

// Organs, flowers and plants as a user would make them, built through the same
// constructors and slot operations the modes use; for tests and benchmarks. Ids
// and parameter values come from the records `m` hands down.

#include "interaction/PetalStrokes.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerSketchNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"
#include "support/HandDrawnPetal.h"
#include "support/ModelRecords.h"

#include <cmath>
#include <memory>
#include <numbers>

namespace samples {

inline Stroke line(const Vector3& from, const Vector3& to, int segments = 10) {
    Stroke s;
    for (int i = 0; i <= segments; ++i)
        s.add(from + (to - from) * (static_cast<double>(i) / segments));
    return s;
}

// A petal from three hand-drawn strokes; the seed picks the hand. Null if the hand
// never drew a petal the outline pipeline accepts.
inline std::unique_ptr<FlowerPetalNode> petal(const ModelRecords& m, std::uint32_t seed = 1) {
    PenNoise noise(seed);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const PetalSketch sketch = drawPetal(noise);
        PetalStrokes fitted;
        if (makePetalStrokes(sketch.strokes[0], sketch.strokes[1], sketch.strokes[2], fitted))
            return std::make_unique<FlowerPetalNode>(m.nextId(), fitted.left, fitted.middle,
                                                     fitted.right, m.parameters);
    }
    return nullptr;
}

inline std::unique_ptr<FlowerStamenNode> stamen(const ModelRecords& m) {
    auto stamen = std::make_unique<FlowerStamenNode>(m.nextId(), line({0, 0, 0}, {0.02, 0.3, 0}, 3),
                                                     m.parameters);
    Stroke anther;
    for (int i = 0; i < 8; ++i)
        anther.add({0.0 + 0.01 * i, 0.3 + 0.002 * i * (7 - i), 0});
    stamen->setAnther(anther, m.parameters);
    return stamen;
}

inline std::unique_ptr<FlowerPistilNode> pistil(const ModelRecords& m) {
    Stroke outline;
    for (int i = 0; i < 10; ++i) {
        const double t = std::numbers::pi * i / 9;
        outline.add({-0.03 * std::cos(t), 0.3 * std::sin(t) + 0.05, 0});
    }
    return std::make_unique<FlowerPistilNode>(m.nextId(), outline, m.parameters);
}

inline std::unique_ptr<FlowerStemNode> stem(const ModelRecords& m, double length = 1.0) {
    Stroke axis;
    for (int i = 0; i <= 12; ++i) {
        const double t = static_cast<double>(i) / 12;
        axis.add({0.05 * std::sin(3 * t), length * t, 0.02 * t});
    }
    return std::make_unique<FlowerStemNode>(m.nextId(), axis, m.parameters);
}

inline std::unique_ptr<FlowerSketchNode> sketch(const ModelRecords& m) {
    auto sketch = std::make_unique<FlowerSketchNode>(m.nextId(), 0);
    sketch->addStroke(line({0, 0, 0}, {0.2, 0.5, 0}));
    sketch->addStroke(line({0.2, 0.5, 0}, {0.4, 0.4, 0}));
    return sketch;
}

// Puts `organ` into slot `index` of `whorl`, drawn straight out of the slot.
inline void attach(FlowerTorusNode& flower, int whorl, int index,
                   std::unique_ptr<FlowerObjectNode> organ, double length) {
    const FlowerPart& slot = *flower.whorl(whorl).parts[index];
    const Vector3 base = transformPoint(slot.basicTransAndRot, {});
    const Vector3 up = slot.basicTransAndRot.rotateVector({0, 1, 0});
    flower.attachOrgan(whorl, index, std::move(organ), line(base, base + up * length, 4).points,
                       {0, 0, 1});
}

// A flower of 1 pistil, 6 stamens with anthers, 6 petals and 5 sepals in rings.
inline std::unique_ptr<FlowerTorusNode> flower(const ModelRecords& m, std::uint32_t seed = 1) {
    auto flower = std::make_unique<FlowerTorusNode>(m.nextId(), m.parameters.receptacle);
    flower->addSlot(kWhorlPistil, 0, 0, 0);
    for (int i = 0; i < 6; ++i) {
        flower->addSlot(kWhorlStamen, 0, 0, 0);
        flower->addSlot(kWhorlPetal, 0, 0, 0);
    }
    for (int i = 0; i < 5; ++i)
        flower->addSlot(kWhorlSepal, 0, 0, 0);
    flower->relayoutRings(0, 60, 150, 250);
    attach(*flower, kWhorlPistil, 0, pistil(m), 0.35);
    for (int i = 0; i < 6; ++i) {
        attach(*flower, kWhorlStamen, i, stamen(m), 0.3);
        attach(*flower, kWhorlPetal, i, petal(m, seed + i), 0.8);
    }
    for (int i = 0; i < 5; ++i)
        attach(*flower, kWhorlSepal, i, petal(m, seed + 10 + i), 0.5);
    return flower;
}

// The bud a person models for `flower`: a copy whose stamens, petals and sepals
// are each turned about their base, petals and sepals shorter and stamens shorter
// still; the pistil stays as it is.
inline std::unique_ptr<FlowerTorusNode> handModelledBud(const FlowerTorusNode& flower,
                                                        const ModelRecords& m) {
    auto bud = std::unique_ptr<FlowerTorusNode>(
        static_cast<FlowerTorusNode*>(flower.clone(m.ids).release()));
    for (int whorl : {kWhorlStamen, kWhorlPetal, kWhorlSepal})
        for (auto& slot : bud->whorl(whorl).parts) {
            if (!slot->object)
                continue;
            // The organ's frame has y from base to tip.
            Matrix4 lean;
            lean.setRotationX(-0.9);
            slot->rotation = slot->rotation * lean;
            slot->object->scale(whorl == kWhorlStamen ? 0.5 : 0.7);
        }
    return bud;
}

// A plant: a stem with `flowers` branches, each a short stem carrying a flower.
inline std::unique_ptr<FlowerObjectComposite> plant(const ModelRecords& m, int flowers) {
    auto plant = std::make_unique<FlowerObjectComposite>(m.nextId());
    plant->appendAlongAxis(stem(m), line({0, 0, 0}, {0, 3, 0}), {0, 0, 1});
    const auto model = [&m] {
        auto branch = std::make_unique<FlowerObjectComposite>(m.nextId());
        branch->appendAlongAxis(stem(m, 0.4), line({0, 0, 0}, {0, 0.4, 0}), {0, 0, 1});
        branch->appendAlongAxis(flower(m), line({0, 0.4, 0}, {0, 0.6, 0}), {0, 0, 1});
        return branch;
    }();
    for (int i = 0; i < flowers; ++i) {
        const double at = 0.1 + 0.85 * i / std::max(1, flowers - 1);
        const double turn = 2.4 * i;
        const Vector3 base{0, 3 * at, 0};
        const Vector3 out{0.4 * std::cos(turn), 0.3, 0.4 * std::sin(turn)};
        auto branch = std::unique_ptr<FlowerObjectComposite>(
            static_cast<FlowerObjectComposite*>(model->clone(m.ids).release()));
        plant->addBranch(at, std::move(branch), line(base, base + out, 6), {0, 0, 1});
    }
    return plant;
}

} // namespace samples
