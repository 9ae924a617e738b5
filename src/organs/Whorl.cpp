#include "organs/Whorl.h"

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// The surface the profile sweeps about the axis from `previous` to its point at arc
// length `s`, which becomes the next step's `previous`.
double sweptArea(const PointList& profile, double s, Vector3& previous) {
    const Vector3 p = pointAtArcLength(profile, s);
    const double area = 2 * kPi * p.x * distance(p, previous);
    previous = p;
    return area;
}

} // namespace

void Whorl::layoutRing(const PointList& profile, bool centred, double ringRadius, double phase) {
    const int n = static_cast<int>(parts.size());
    double step = 0.0;
    if (centred)
        step = n > 1 ? 2 * kPi / (n - 1) : 0.0;
    else
        step = n > 0 ? 2 * kPi / n : 0.0;
    for (int i = 0; i < n; ++i) {
        FlowerPart& slot = *parts[i];
        slot.radius = (centred && i == 0) ? 0.0 : ringRadius;
        slot.theta = i * step + phase;
        slot.basicTransAndRot = placeOnProfile(slot.theta, slot.radius, profile);
    }
}

void Whorl::layoutBand(int code, const PointList& profile, double inner, double outer, int size,
                       double divergence) {
    if (outer - inner <= 1.0 || size <= 0)
        return;
    const double length = polylineLength(profile);
    if (!(length > 0.0))
        return;
    const double sA = inner * length / 300.0;
    const double sB = outer * length / 300.0;

    double bandArea = 0.0;
    Vector3 previous = pointAtArcLength(profile, sA);
    const double areaStep = (sB - sA) / 1000.0;
    for (double s = sA; s <= sB; s += areaStep)
        bandArea += sweptArea(profile, s, previous);
    const double unitLength = length / 300.0;
    const double organArea = kPi * (size * unitLength) * (size * unitLength);
    const double delta = divergence * kPi / 180.0;
    const double organs = bandArea / organArea;
    // A band with no area holds no organs but the first pistil.
    const double step = organs > 0.0 ? (sB - sA) / (10.0 * organs) : (sB - sA) + 1.0;

    double accumulated = code == kWhorlPistil ? organArea : 0.0;
    int k = 0;
    previous = pointAtArcLength(profile, sA);
    for (double s = sA; s <= sB;) {
        if (accumulated >= organArea) {
            auto slot = std::make_unique<FlowerPart>();
            slot->theta = k * delta;
            double t = 0.0;
            slot->basicTransAndRot = placeOnProfileByArcLength(slot->theta, s, profile, t);
            slot->radius = s * 300.0 / length;
            slot->size = size;
            slot->index = static_cast<int>(parts.size());
            slot->whorl = code;
            parts.push_back(std::move(slot));
            accumulated -= organArea;
            ++k;
        } else {
            accumulated += sweptArea(profile, s, previous);
            s += step;
        }
    }
}
