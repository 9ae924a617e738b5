#include "organs/AxisFrames.h"

#include <algorithm>
#include <cmath>

namespace {

// The part of `v` across the unit direction `t`, made unit; `fallback` when none.
Vector3 across(const Vector3& v, const Vector3& t, const Vector3& fallback) {
    const Vector3 rest = v - t * dot(v, t);
    return rest.length() > 1e-9 ? unit(rest) : fallback;
}

} // namespace

Vector3 AxisFrame::direction(double azimuth, double angle) const {
    const Vector3 out = normal * std::cos(azimuth) + binormal * std::sin(azimuth);
    return unit(tangent * std::cos(angle) + out * std::sin(angle));
}

AxisFrames::AxisFrames(const PointList& axis) {
    // Repeated points have no direction; they are left out.
    for (const Vector3& p : axis)
        if (points_.empty() || distance(points_.back(), p) > 1e-12)
            points_.push_back(p);
    starts_.push_back(0.0);
    for (size_t i = 1; i < points_.size(); ++i)
        starts_.push_back(starts_.back() + distance(points_[i - 1], points_[i]));
    length_ = starts_.back();
    Vector3 normal(1.0, 0.0, 0.0);
    for (size_t i = 1; i < points_.size(); ++i) {
        const Vector3 t = unit(points_[i] - points_[i - 1]);
        // World x across the first segment (z where it runs along x), then carried.
        const Vector3 fallback = across(Vector3(1.0, 0.0, 0.0), t, Vector3(0.0, 0.0, 1.0));
        normal = i == 1 ? fallback : across(normal, t, fallback);
        normals_.push_back(normal);
    }
}

AxisFrame AxisFrames::at(double fraction) const {
    AxisFrame frame;
    if (points_.empty())
        return frame;
    frame.point = points_.front();
    if (normals_.empty())
        return frame;
    const double s = std::clamp(fraction, 0.0, 1.0) * length_;
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), s);
    const size_t segment = std::min<size_t>(
        static_cast<size_t>(std::max<std::ptrdiff_t>(after - starts_.begin() - 1, 0)),
        normals_.size() - 1);
    const Vector3 a = points_[segment];
    const Vector3 b = points_[segment + 1];
    const double span = starts_[segment + 1] - starts_[segment];
    const double local = span > 0.0 ? (s - starts_[segment]) / span : 0.0;
    frame.point = a + (b - a) * local;
    frame.tangent = unit(b - a);
    frame.normal = normals_[segment];
    frame.binormal = cross(frame.normal, frame.tangent);
    return frame;
}
