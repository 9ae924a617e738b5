#pragma once

#include "math/PointSequence.h"
#include "math/Vector3.h"

#include <vector>

// Where along a drawn axis an organ stands: the point, the axis direction there
// and two directions across it.
struct AxisFrame {
    Vector3 point;
    Vector3 tangent{0.0, 1.0, 0.0};
    // Across the axis; azimuth 0 of a phyllotaxis points this way.
    Vector3 normal{1.0, 0.0, 0.0};
    // Across the axis and the normal: azimuth pi/2.
    Vector3 binormal{0.0, 0.0, 1.0};

    // The unit direction `azimuth` radians round the axis from the normal, leaning
    // `angle` radians away from the axis direction.
    Vector3 direction(double azimuth, double angle) const;
};

// Frames along a polyline that turn with it without twisting about it: the normal
// is carried from segment to segment, so that a phyllotaxis keeps its angles along
// a curved stem. The first normal is world x made square to the first segment.
class AxisFrames {
public:
    explicit AxisFrames(const PointList& axis);

    double length() const { return length_; }
    // The frame at the fraction 0..1 of the axis length (clamped).
    AxisFrame at(double fraction) const;

private:
    PointList points_;
    std::vector<double> starts_; // arc length at each point
    std::vector<Vector3> normals_; // per segment
    double length_ = 0.0;
};
