#pragma once

// Whether the faces of a closed surface (a tube, a receptacle) face out of it, judged
// the way a renderer that culls back faces sees them, without trusting the exporter's
// notion of an axis.

#include "math/Vector3.h"

#include <algorithm>
#include <array>
#include <vector>

struct MeshTriangle {
    std::array<Vector3, 3> corners;
    std::array<Vector3, 3> normals;
};

// Whether the ray from `origin` along `direction` meets `t` (Moeller-Trumbore).
inline bool rayMeets(const Vector3& origin, const Vector3& direction, const MeshTriangle& t) {
    const Vector3 e1 = t.corners[1] - t.corners[0];
    const Vector3 e2 = t.corners[2] - t.corners[0];
    const Vector3 p = cross(direction, e2);
    const double det = dot(e1, p);
    if (std::abs(det) < 1e-300)
        return false;
    const Vector3 s = origin - t.corners[0];
    const double u = dot(s, p) / det;
    if (u < 0.0 || u > 1.0)
        return false;
    const Vector3 q = cross(s, e1);
    const double v = dot(direction, q) / det;
    return v >= 0.0 && u + v <= 1.0 && dot(e2, q) / det > 1e-12;
}

// The share of the triangles of `surface` wide enough for their winding to mean
// something (wider than the six decimals of an OBJ file can blur) that face out of
// it: a ray from the triangle's centre along its winding normal leaves the surface,
// crossing it an even number of times, and each corner's normal leans the same way.
// 1 for a surface without such triangles.
inline double outwardShare(const std::vector<MeshTriangle>& surface) {
    // A slight fixed tilt keeps the rays of a symmetric surface off its edges.
    const Vector3 tilt(3.7e-3, 5.1e-3, 7.7e-3);
    int wide = 0, outward = 0;
    for (const MeshTriangle& t : surface) {
        const auto& [a, b, c] = t.corners;
        const Vector3 n = cross(b - a, c - a);
        const double longest = std::max({distance(a, b), distance(b, c), distance(c, a)});
        if (n.length() <= 5e-6 * longest)
            continue;
        ++wide;
        const Vector3 centre = (a + b + c) * (1.0 / 3.0);
        const Vector3 direction = unit(n) + tilt;
        int crossings = 0;
        for (const MeshTriangle& other : surface)
            if (&other != &t && rayMeets(centre, direction, other))
                ++crossings;
        const bool normalsAgree = std::all_of(t.normals.begin(), t.normals.end(),
                                              [&](const Vector3& m) { return dot(m, n) > 0.0; });
        if (crossings % 2 == 0 && normalsAgree)
            ++outward;
    }
    return wide == 0 ? 1.0 : static_cast<double>(outward) / wide;
}
