#include "starter/StarterLibrary.h"

#include "interaction/PetalStrokes.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
// The golden angle: successive organs of a spiral band never line up in rows.
constexpr double kGoldenAngle = 137.50776;

struct Colour {
    float r, g, b;
};

void paint(FlowerObjectNode& node, Colour c, float shininess = 40.0f) {
    node.setMaterial({c.r, c.g, c.b, 1.0f}, {0.2f, 0.2f, 0.2f, 1.0f},
                     {c.r * 0.5f, c.g * 0.5f, c.b * 0.5f, 1.0f}, shininess);
}

Stroke line(const Vector3& from, const Vector3& to, int segments = 10) {
    Stroke s;
    for (int i = 0; i <= segments; ++i)
        s.add(from + (to - from) * (static_cast<double>(i) / segments));
    return s;
}

// How wide a blade is at height t (0 base, 1 tip), as a share of its greatest width.
using WidthProfile = std::function<double(double)>;

double ovate(double t) {
    return std::pow(std::sin(kPi * t), 0.7) * (1.1 - 0.3 * t);
}
double lanceolate(double t) {
    return std::pow(std::sin(kPi * t), 1.3);
}
// Widest near the tip, with a notch: the heart-shaped petals of many small flowers.
double obcordate(double t) {
    return std::pow(std::sin(kPi * std::pow(t, 0.6)), 0.6) * (0.7 + 0.5 * t) *
           (1.0 - 0.25 * std::exp(-std::pow((1.0 - t) * 8.0, 2)));
}
double strap(double t) {
    return std::pow(std::sin(kPi * t), 0.25);
}

const Colour kPink{0.95f, 0.45f, 0.65f};
const Colour kYellow{1.0f, 0.85f, 0.15f};
const Colour kWhite{0.95f, 0.93f, 0.88f};
const Colour kViolet{0.55f, 0.3f, 0.85f};
const Colour kOrange{1.0f, 0.55f, 0.15f};
const Colour kLeafGreen{0.25f, 0.6f, 0.15f};
const Colour kSepalGreen{0.45f, 0.7f, 0.25f};

// Puts `organ` into slot `index` of `whorl`, drawn straight out of the slot.
void attach(FlowerTorusNode& flower, int whorl, int index, std::unique_ptr<FlowerObjectNode> organ,
            double length) {
    const FlowerPart& slot = *flower.whorl(whorl).parts[index];
    const Vector3 base = transformPoint(slot.basicTransAndRot, {});
    const Vector3 up = slot.basicTransAndRot.rotateVector({0, 1, 0});
    flower.attachOrgan(whorl, index, std::move(organ), line(base, base + up * length, 4).points,
                       {0, 0, 1});
}

using OrganMaker = std::function<std::unique_ptr<FlowerObjectNode>()>;

void fillWhorl(FlowerTorusNode& flower, int whorl, const OrganMaker& make, double length) {
    const int count = static_cast<int>(flower.whorl(whorl).parts.size());
    for (int i = 0; i < count; ++i)
        attach(flower, whorl, i, make(), length);
}

// One whorl of a ring flower: how many organs, made how, drawn how long.
struct RingWhorl {
    int whorl;
    int count;
    OrganMaker make;
    double length;
};

// Makes the entries, taking every id from `ids` and the resolutions and widths of
// every organ from `parameters`, as the modes take them from the controller.
class Workshop {
public:
    Workshop(IdCounter& ids, const Parameters& parameters) : ids_(ids), parameters_(parameters) {}

    // Draws a blade as a person would: both outlines from just beside the base to just
    // beyond the tip, so that they cross near both ends, and the midrib up the middle;
    // the outline pipeline then fits the petal.
    std::unique_ptr<FlowerPetalNode> blade(double width, const WidthProfile& profile, double bend) {
        Stroke left, right, midrib;
        constexpr int kPoints = 40;
        for (int k = 0; k <= kPoints; ++k) {
            const double t = static_cast<double>(k) / kPoints;
            const double y = -0.03 + 1.06 * t;
            const double sway = bend * std::sin(kPi * t) * t;
            left.add({sway - (width * profile(t) - 0.02), y, 0.0});
            right.add({sway + (width * profile(t) - 0.02), y, 0.0});
            midrib.add({sway, 0.95 * t, 0.0});
        }
        PetalStrokes fitted;
        if (!makePetalStrokes(left, midrib, right, fitted))
            throw std::runtime_error("the outline pipeline refused a starter blade");
        return std::make_unique<FlowerPetalNode>(ids_.nextId(), fitted.left, fitted.middle,
                                                 fitted.right, parameters_);
    }

    std::unique_ptr<FlowerPetalNode> petal(const WidthProfile& profile, double width, Colour c,
                                           double bend = 0.0) {
        auto p = blade(width, profile, bend);
        paint(*p, c, 90.0f);
        return p;
    }

    // A leaf, veined by the texture when there is one (-1: none).
    std::unique_ptr<FlowerPetalNode> leaf(int texture) {
        auto p = blade(0.32, ovate, 0.08);
        paint(*p, kLeafGreen, 20.0f);
        if (texture >= 0)
            p->setTexture(true, texture, texture);
        return p;
    }

    std::unique_ptr<FlowerPetalNode> sepal() {
        auto p = blade(0.22, lanceolate, 0.0);
        paint(*p, kSepalGreen, 20.0f);
        return p;
    }

    std::unique_ptr<FlowerStamenNode> stamen(double lean) {
        auto s = std::make_unique<FlowerStamenNode>(
            ids_.nextId(), line({0, 0, 0}, {lean, 0.3, 0}, 3), parameters_);
        Stroke anther;
        for (int i = 0; i < 8; ++i)
            anther.add({lean + 0.01 * i, 0.3 + 0.002 * i * (7 - i), 0});
        s->setAnther(anther, parameters_);
        return s;
    }

    std::unique_ptr<FlowerPistilNode> pistil(double swell) {
        Stroke outline;
        for (int i = 0; i < 10; ++i) {
            const double t = kPi * i / 9;
            outline.add({-swell * std::cos(t), 0.3 * std::sin(t) + 0.05, 0});
        }
        auto p = std::make_unique<FlowerPistilNode>(ids_.nextId(), outline, parameters_);
        paint(*p, {0.85f, 0.9f, 0.4f});
        return p;
    }

    std::unique_ptr<FlowerStemNode> stem(double length, double sway) {
        Stroke axis;
        for (int i = 0; i <= 12; ++i) {
            const double t = static_cast<double>(i) / 12;
            axis.add({sway * std::sin(3 * t), length * t, 0.02 * t});
        }
        return std::make_unique<FlowerStemNode>(ids_.nextId(), axis, parameters_);
    }

    // A flower head with a pistil in the middle and the whorls in rings around it, laid
    // out as a new flower head's rings are.
    std::unique_ptr<FlowerTorusNode> ringFlower(double pistilSwell, double pistilLength,
                                                const std::vector<RingWhorl>& whorls) {
        auto flower = std::make_unique<FlowerTorusNode>(ids_.nextId(), parameters_.receptacle);
        flower->addSlot(kWhorlPistil, 0, 0, 0);
        for (const RingWhorl& ring : whorls)
            for (int i = 0; i < ring.count; ++i)
                flower->addSlot(ring.whorl, 0, 0, 0);
        flower->relayoutRings(0, 60, 150, 250);
        attach(*flower, kWhorlPistil, 0, pistil(pistilSwell), pistilLength);
        for (const RingWhorl& ring : whorls)
            fillWhorl(*flower, ring.whorl, ring.make, ring.length);
        return flower;
    }

    // Five broad pink petals round a pistil.
    std::unique_ptr<FlowerTorusNode> fivePetalFlower() {
        return ringFlower(
            0.03, 0.3, {{kWhorlPetal, 5, [this] { return petal(obcordate, 0.45, kPink); }, 0.8}});
    }

    // Six white tepals, six stamens with anthers and a pistil.
    std::unique_ptr<FlowerTorusNode> sixTepalFlower() {
        return ringFlower(
            0.04, 0.45,
            {{kWhorlStamen, 6, [this] { return stamen(0.03); }, 0.4},
             {kWhorlPetal, 6, [this] { return petal(lanceolate, 0.3, kWhite, 0.05); }, 0.9}});
    }

    // Five violet petals over five green sepals that stand between them.
    std::unique_ptr<FlowerTorusNode> flowerWithSepals() {
        return ringFlower(0.025, 0.3,
                          {{kWhorlStamen, 5, [this] { return stamen(0.01); }, 0.25},
                           {kWhorlPetal, 5, [this] { return petal(ovate, 0.4, kViolet); }, 0.7},
                           {kWhorlSepal, 5, [this] { return sepal(); }, 0.45}});
    }

    // Many orange petals in an "Indefinite" band, each turned from the one before by the
    // golden angle, as the floral diagram lays them out.
    std::unique_ptr<FlowerTorusNode> spiralFlower() {
        auto flower = std::make_unique<FlowerTorusNode>(ids_.nextId(), parameters_.receptacle);
        flower->whorl(kWhorlPetal).layout = WhorlLayout::Band;
        flower->layoutBand(kWhorlPetal, 40, 280, 30, kGoldenAngle);
        fillWhorl(
            *flower, kWhorlPetal, [this] { return petal(strap, 0.18, kOrange, 0.04); }, 0.6);
        return flower;
    }

    // A short stalk carrying a flower: the branch the inflorescence repeats.
    std::unique_ptr<FlowerObjectComposite> floweringBranch(std::unique_ptr<FlowerTorusNode> flower,
                                                           double stalk) {
        auto branch = std::make_unique<FlowerObjectComposite>(ids_.nextId());
        branch->appendAlongAxis(stem(stalk, 0.03), line({0, 0, 0}, {0, stalk, 0}), {0, 0, 1});
        branch->appendAlongAxis(std::move(flower), line({0, stalk, 0}, {0, stalk + 0.2, 0}),
                                {0, 0, 1});
        return branch;
    }

    // A raceme: flowers on short stalks up the axis, turning by the golden angle, and
    // two side branches that repeat the pattern with fewer flowers.
    std::unique_ptr<FlowerObjectComposite> inflorescence() {
        const auto model = floweringBranch(sixTepalFlower(), 0.4);
        const auto sideBranch = [this, &model](int flowers) {
            auto side = std::make_unique<FlowerObjectComposite>(ids_.nextId());
            side->appendAlongAxis(stem(1.2, 0.05), line({0, 0, 0}, {0, 1.2, 0}), {0, 0, 1});
            for (int i = 0; i < flowers; ++i) {
                const double at = 0.4 + 0.5 * i / std::max(1, flowers - 1);
                const double turn = kGoldenAngle * kPi / 180 * i;
                const Vector3 base{0, 1.2 * at, 0};
                const Vector3 out{0.3 * std::cos(turn), 0.25, 0.3 * std::sin(turn)};
                side->addBranch(at, asComposite(model->clone(ids_)), line(base, base + out, 6),
                                {0, 0, 1});
            }
            return side;
        };
        auto plant = std::make_unique<FlowerObjectComposite>(ids_.nextId());
        plant->appendAlongAxis(stem(3.0, 0.05), line({0, 0, 0}, {0, 3, 0}), {0, 0, 1});
        constexpr int kFlowers = 7;
        for (int i = 0; i < kFlowers; ++i) {
            const double at = 0.45 + 0.5 * i / (kFlowers - 1);
            const double turn = kGoldenAngle * kPi / 180 * i;
            const Vector3 base{0, 3 * at, 0};
            const Vector3 out{0.4 * std::cos(turn), 0.3, 0.4 * std::sin(turn)};
            plant->addBranch(at, asComposite(model->clone(ids_)), line(base, base + out, 6),
                             {0, 0, 1});
        }
        plant->addBranch(0.2, sideBranch(3), line({0, 0.6, 0}, {0.9, 1.5, 0.1}, 8), {0, 0, 1});
        plant->addBranch(0.3, sideBranch(3), line({0, 0.9, 0}, {-0.9, 1.7, -0.1}, 8), {0, 0, 1});
        // Drawn large for room between the flowers, then scaled to stand in the view.
        plant->scale(0.5);
        return plant;
    }

    // A stem with leaves on alternate sides, crowned by a flower with sepals.
    std::unique_ptr<FlowerObjectComposite> leafyStem(int leafTexture) {
        auto plant = std::make_unique<FlowerObjectComposite>(ids_.nextId());
        plant->appendAlongAxis(stem(2.0, 0.08), line({0, 0, 0}, {0, 2, 0}), {0, 0, 1});
        plant->appendAlongAxis(flowerWithSepals(), line({0, 2, 0}, {0, 2.3, 0}), {0, 0, 1});
        constexpr int kLeaves = 6;
        for (int i = 0; i < kLeaves; ++i) {
            const double at = 0.1 + 0.75 * i / (kLeaves - 1);
            const double side = i % 2 ? 1.0 : -1.0;
            const double size = 0.5 - 0.25 * i / (kLeaves - 1);
            auto branch = std::make_unique<FlowerObjectComposite>(ids_.nextId());
            branch->appendAlongAxis(leaf(leafTexture), line({0, 0, 0}, {0, size, 0}), {0, 0, 1});
            const Vector3 base{0, 2 * at, 0};
            const Vector3 out{side * size * 0.8, size * 0.6, 0.1 * side};
            plant->addBranch(at, std::move(branch), line(base, base + out, 6), {0, 0, 1});
        }
        plant->scale(0.75);
        return plant;
    }

private:
    IdCounter& ids_;
    const Parameters& parameters_;
};

// A gently curved planting stroke from `at`, as a person draws one upward.
Stroke plantingStroke(const Vector3& at, double height, double lean) {
    Stroke s;
    for (int i = 0; i <= 8; ++i) {
        const double t = i / 8.0;
        s.add(at + Vector3{lean * t * t, height * t, 0});
    }
    return s;
}

} // namespace

StarterLibrary::StarterLibrary(IdCounter& ids, const Parameters& parameters, int leafTexture) {
    Workshop w(ids, parameters);
    store(w.petal(ovate, 0.4, kPink), kCategoryLeaf);
    store(w.petal(lanceolate, 0.25, kWhite, 0.06), kCategoryLeaf);
    store(w.petal(obcordate, 0.45, kYellow), kCategoryLeaf);
    store(w.petal(strap, 0.15, kOrange, 0.04), kCategoryLeaf);
    store(w.leaf(leafTexture), kCategoryLeaf);
    store(w.sepal(), kCategoryLeaf);
    store(w.stamen(0.02), kCategoryPrimitive);
    store(w.pistil(0.04), kCategoryPrimitive);
    // Short stems: a thumbnail scales its object to the tile, and a long one would
    // shrink to a hairline.
    store(w.stem(0.35, 0.06), kCategoryPrimitive);
    store(w.stem(0.25, 0.1), kCategoryPrimitive);
    store(w.fivePetalFlower(), kCategoryFlower);
    store(w.sixTepalFlower(), kCategoryFlower);
    store(w.spiralFlower(), kCategoryFlower);
    store(w.flowerWithSepals(), kCategoryFlower);
    auto raceme = w.inflorescence();
    auto leafy = w.leafyStem(leafTexture);

    auto scene = std::make_unique<SceneRoot>(ids.nextId());
    scene->plantAlongStroke(asComposite(raceme->clone(ids)), plantingStroke({-1.2, 0, 0}, 3, 0.3));
    scene->plantAlongStroke(asComposite(leafy->clone(ids)),
                            plantingStroke({0.4, 0, 0.5}, 2.2, -0.2));
    scene->plantAlongStroke(asComposite(leafy->clone(ids)),
                            plantingStroke({1.3, 0, -0.4}, 1.8, 0.2));
    store(std::move(raceme), kCategoryComposite);
    store(std::move(leafy), kCategoryComposite);
    scenes_.push_back(std::move(scene));
}

StarterLibrary::~StarterLibrary() = default;

void StarterLibrary::store(std::unique_ptr<FlowerObjectNode> object, int category) {
    objects_.push_back(std::move(object));
    categories_.push_back(category);
}

LibraryContents StarterLibrary::contents() const {
    LibraryContents contents;
    for (size_t i = 0; i < objects_.size(); ++i)
        contents.objects[categories_[i]].push_back(objects_[i].get());
    // Entries are stored in the order they were made, so each category is already in
    // ascending id order.
    for (const auto& scene : scenes_)
        contents.scenes.push_back(scene.get());
    return contents;
}
