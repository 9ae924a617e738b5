#pragma once

#include "interaction/Stroke.h"

#include <vector>

// The outline pipeline that turns three hand-drawn strokes into the left outline,
// midrib and right outline of a petal, and the profiles bending strokes give.

struct PetalStrokes {
    Stroke left;
    Stroke middle;
    Stroke right;
    // From the drawing frame of the raw strokes to the petal's local frame.
    Matrix4 matrix;
};

// False when a raw stroke has fewer than 3 points or no length, or the outlines do
// not cross twice; then `out` is left as it was. The strokes may come in any order,
// and one drawn against the direction the other two share is reversed first. On
// success the strokes lie in the petal's frame: in the x-y plane, base near the
// origin, tip along +y.
bool makePetalStrokes(const Stroke& s1, const Stroke& s2, const Stroke& s3, PetalStrokes& out);
// Transforms the three strokes into the frame whose origin is the mean of their
// first points and whose +y points to the mean of their last points; returns the
// matrix used.
Matrix4 alignTriple(Stroke& a, Stroke& b, Stroke& c);
// Reorders the strokes left, middle, right by their x at half height.
void orderByMidX(Stroke& a, Stroke& b, Stroke& c);
// Cuts both outlines at their crossings and fits the middle stroke between the cut
// ends; false, and the strokes unchanged, when the outlines do not cross twice or
// the cuts leave an outline of a single point.
bool trimOutline(Stroke& left, Stroke& middle, Stroke& right);

using Profile = std::vector<double>;
// The stroke's sideways offset from its own chord at count equally spaced stations
// (first and last 0); negated when the stroke was drawn towards +x.
Profile bendProfile(const Stroke& stroke, int count);
// Negates the profile when `up` (a camera's up vector in the frame of the bent
// object) points below its x-y plane.
void orientProfile(Profile& profile, const Vector3& up);
