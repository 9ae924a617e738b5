#include "organs/Inflorescence.h"

#include "interaction/Stroke.h"
#include "interaction/StrokeGeometry.h"
#include "model/FlowerObjectComposite.h"
#include "model/IdCounter.h"
#include "organs/AxisAttachment.h"
#include "organs/AxisFrames.h"
#include "organs/FlowerStemNode.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Racemose flowers stand between these shares of the axis, clear of its base.
constexpr double kLowest = 0.35;
constexpr double kHighest = 0.95;
// Points of a pedicel's stroke.
constexpr int kPedicelPoints = 8;

double blend(double from, double to, double u) {
    return from + (to - from) * u;
}

// Builds one inflorescence into a plant; the flowers it makes are listed in the
// order they open.
class InflorescenceBuilder {
public:
    InflorescenceBuilder(FlowerObjectComposite& plant, const InflorescenceSettings& settings,
                         const FlowerObjectNode& flower, const Parameters& parameters,
                         IdCounter& ids)
        : plant_(plant), settings_(settings), flower_(flower), parameters_(parameters), ids_(ids),
          axisLength_(plant.mainAxis.length()), fit_(fittingScale()) {}

    void build() {
        switch (settings_.type) {
        case InflorescenceType::Raceme:
        case InflorescenceType::Spike:
        case InflorescenceType::Corymb:
            buildRacemose();
            break;
        case InflorescenceType::Umbel:
        case InflorescenceType::Head:
            buildFromTip();
            break;
        case InflorescenceType::Panicle:
            buildPanicle();
            break;
        case InflorescenceType::Cyme:
            buildCyme();
            break;
        }
        recordOpeningOrder();
    }

private:
    // The share 0 (first) .. 1 (last) of place i among n.
    static double share(int i, int n) { return n > 1 ? static_cast<double>(i) / (n - 1) : 1.0; }

    double pedicelLength(double u) const {
        return settings_.pedicelLength * axisLength_ * blend(1.0, settings_.pedicelChange, u);
    }
    double flowerSize(double u) const { return fit_ * blend(1.0, settings_.sizeChange, u); }

    // The scale that gives the flower the width the settings ask for.
    double fittingScale() const {
        Vector3 min;
        Vector3 max;
        flower_.boundingBox(min, max, Matrix4(), true);
        const double width = std::max(max.x - min.x, max.z - min.z);
        return width > 0.0 ? settings_.flowerSize * axisLength_ / width : 1.0;
    }

    // An upright branch: a pedicel of `length` (none for 0) ending in a copy of the
    // flower at `size`, which joins the opening order now.
    std::unique_ptr<FlowerObjectComposite> pedicel(double length, double size) {
        auto branch = std::make_unique<FlowerObjectComposite>(ids_.nextId());
        if (length > 0.0) {
            const Stroke axis(uprightLine(length, kPedicelPoints));
            branch->appendAlongAxis(std::make_unique<FlowerStemNode>(ids_.nextId(), axis, parameters_),
                                    axis, Vector3(0.0, 0.0, 1.0));
        }
        std::unique_ptr<FlowerObjectNode> head = flower_.clone(ids_);
        head->scale(size);
        opened_.push_back(head->id);
        const Stroke headAxis = head->mainAxis;
        branch->appendAlongAxis(std::move(head), headAxis, Vector3(0.0, 0.0, 1.0));
        return branch;
    }

    // Raceme, spike and corymb: one flower per place of the phyllotaxis, nodes
    // spread evenly up the axis, opening from the base.
    void buildRacemose() {
        const Phyllotaxis& phyllotaxis = settings_.phyllotaxis;
        const int n = settings_.flowers;
        const int nodes = phyllotaxis.nodesFor(n);
        const bool corymb = settings_.type == InflorescenceType::Corymb;
        const double angle = (corymb ? 40.0 : settings_.type == InflorescenceType::Spike ? 60.0 : 50.0) *
                             kDegree;
        const AxisFrames frames(plant_.mainAxis.points);
        // A corymb's pedicels reach the height the highest one reaches.
        const AxisFrame top = frames.at(kHighest);
        const double flatTop = top.point.y + pedicelLength(1.0) * top.direction(0.0, angle).y;
        for (int i = 0; i < n; ++i) {
            const double u = share(phyllotaxis.nodeOf(i), nodes);
            const double position = blend(kLowest, kHighest, u);
            const AxisFrame frame = frames.at(position);
            const Vector3 direction = frame.direction(phyllotaxis.azimuth(i), angle);
            double length = settings_.type == InflorescenceType::Spike ? 0.0 : pedicelLength(u);
            if (corymb)
                length = std::max(0.02 * axisLength_,
                                  (flatTop - frame.point.y) / std::max(direction.y, 0.2));
            attachLeaning(plant_, position, frame, direction, pedicel(length, flowerSize(u)));
        }
    }

    // Umbel and head: every flower from the axis tip, the outer ones leaning
    // furthest and opening first.
    void buildFromTip() {
        const int n = settings_.flowers;
        const bool umbel = settings_.type == InflorescenceType::Umbel;
        const AxisFrame tip = AxisFrames(plant_.mainAxis.points).at(1.0);
        for (int i = 0; i < n; ++i) {
            const double u = share(i, n);
            // A head's florets fill a dome evenly: the lean grows with the square root
            // of the share of florets inside.
            const double angle = umbel ? blend(70.0, 15.0, u) * kDegree
                                       : 85.0 * kDegree * std::sqrt((n - i - 0.5) / n);
            const Vector3 direction = tip.direction(settings_.phyllotaxis.azimuth(i), angle);
            attachLeaning(plant_, 1.0, tip, direction,
                          pedicel(umbel ? pedicelLength(u) : 0.0, flowerSize(u)));
        }
    }

    // Side racemes, shorter towards the tip, each ending in a flower; the lower
    // ones carry more flowers. Each side raceme opens from its base, the lowest
    // side raceme first.
    void buildPanicle() {
        const int n = settings_.flowers;
        const int sides = std::clamp(static_cast<int>(std::lround(std::sqrt(n))), 1, n);
        const Phyllotaxis& phyllotaxis = settings_.phyllotaxis;
        const int nodes = phyllotaxis.nodesFor(sides);
        const AxisFrames frames(plant_.mainAxis.points);
        for (int j = 0; j < sides; ++j) {
            const int flowers = n / sides + (j < n % sides ? 1 : 0);
            const double u = share(phyllotaxis.nodeOf(j), nodes);
            const double position = blend(0.3, kHighest, u);
            const AxisFrame frame = frames.at(position);
            const double length = 2.5 * pedicelLength(u) * blend(1.0, 0.5, u);
            std::unique_ptr<FlowerObjectComposite> side = pedicel(length, flowerSize(u));
            // The side raceme's own flowers open before the one that ends it.
            const int terminal = opened_.back();
            opened_.pop_back();
            const AxisFrames sideFrames(side->mainAxis.points);
            const double stemShare = side->segments.size() > 1 ? side->segments[1].start : 1.0;
            for (int k = 0; k + 1 < flowers; ++k) {
                const double along = stemShare * blend(0.3, 0.85, share(k, flowers - 1));
                const AxisFrame at = sideFrames.at(along);
                const Vector3 direction = at.direction((k % 2 + 0.5) * std::numbers::pi, 45.0 * kDegree);
                attachLeaning(*side, along, at, direction, pedicel(0.6 * pedicelLength(u), flowerSize(u)));
            }
            opened_.push_back(terminal);
            attachLeaning(plant_, position, frame, frame.direction(phyllotaxis.azimuth(j), 50.0 * kDegree),
                          std::move(side));
        }
    }

    // A flower ends the axis; below every flower two opposite branches, each turned
    // a quarter turn from the pair below, end in flowers of their own, generation
    // by generation, until there are enough flowers. Each flower is older than the
    // ones below it.
    void buildCyme() {
        const int n = settings_.flowers;
        std::unique_ptr<FlowerObjectNode> head = flower_.clone(ids_);
        head->scale(flowerSize(0.0));
        opened_.push_back(head->id);
        const AxisFrame tip = AxisFrames(plant_.mainAxis.points).at(1.0);
        const Matrix4 upright = rotationBetween(Vector3(0.0, 1.0, 0.0), tip.tangent).matrix;
        const Stroke headAxis = head->mainAxis.transformed(upright);
        plant_.appendAlongAxis(std::move(head), headAxis, tip.normal);

        struct Fork {
            FlowerObjectComposite* holder;
            double position; // where the holder's flower starts, below which it forks
            int generation;
            double azimuth;
        };
        std::deque<Fork> forks{{&plant_, plant_.segments.back().start, 0, 0.0}};
        while (static_cast<int>(opened_.size()) < n && !forks.empty()) {
            const Fork fork = forks.front();
            forks.pop_front();
            const double u = std::min(1.0, (fork.generation + 1) / 4.0);
            const AxisFrame frame = AxisFrames(fork.holder->mainAxis.points).at(fork.position);
            const double length =
                1.6 * settings_.pedicelLength * axisLength_ * std::pow(0.7, fork.generation);
            for (int side = 0; side < 2 && static_cast<int>(opened_.size()) < n; ++side) {
                const Vector3 direction =
                    frame.direction(fork.azimuth + side * std::numbers::pi, 40.0 * kDegree);
                FlowerObjectComposite& branch = attachLeaning(
                    *fork.holder, fork.position, frame, direction, pedicel(length, flowerSize(u)));
                forks.push_back({&branch, branch.segments.back().start, fork.generation + 1,
                                 fork.azimuth + 0.5 * std::numbers::pi});
            }
        }
    }

    void recordOpeningOrder() {
        std::map<int, int> places;
        const std::vector<const FlowerObjectNode*> heads = flowerHeads(plant_);
        for (size_t i = 0; i < heads.size(); ++i)
            places[heads[i]->id] = static_cast<int>(i);
        plant_.openingOrder.clear();
        for (int id : opened_)
            if (const auto place = places.find(id); place != places.end())
                plant_.openingOrder.push_back(place->second);
    }

    FlowerObjectComposite& plant_;
    const InflorescenceSettings& settings_;
    const FlowerObjectNode& flower_;
    const Parameters& parameters_;
    IdCounter& ids_;
    const double axisLength_;
    const double fit_;
    std::vector<int> opened_;
};

} // namespace

bool buildInflorescence(FlowerObjectComposite& plant, const InflorescenceSettings& settings,
                        const FlowerObjectNode& flower, const Parameters& parameters,
                        IdCounter& ids) {
    if (plant.mainAxis.size() < 2 || plant.mainAxis.length() <= 0.0 || settings.flowers < 1)
        return false;
    InflorescenceBuilder(plant, settings, flower, parameters, ids).build();
    return true;
}
