#pragma once

#include "organs/OrganSurfaces.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// One vertex: position, normal, texture coordinates.
using Vertex = std::array<float, 8>;

// A surface as indexed triangles, vertices shared where they are equal.
struct PrimitiveData {
    std::vector<Vertex> vertices;
    // The grid point each vertex was first made from.
    std::vector<std::pair<int, int>> cells;
    std::vector<std::uint32_t> indices;
    int material = -1;
    // Grid triangles left out for having no area.
    long zeroArea = 0;
};

// The vertex of grid point (r, c) of the surface, its normal pointing to the front.
Vertex vertexOf(const OrganSurface& surface, int r, int c);

// The surface's grid as indexed triangles, wound counter-clockwise about the front
// normals; triangles without area are left out and counted.
PrimitiveData triangulate(const OrganSurface& surface);
