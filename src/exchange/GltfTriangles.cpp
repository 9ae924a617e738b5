#include "exchange/GltfTriangles.h"

#include "organs/ObjWriter.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <unordered_map>

namespace {

// Below this a triangle's doubled area counts as none: the rows a petal tip or a
// tube's end closes to.
constexpr double kLeastDoubledArea = 1e-12;

// FNV-1a over a vertex's bytes.
struct VertexHash {
    size_t operator()(const Vertex& v) const {
        std::uint64_t hash = 14695981039346656037ull;
        for (const std::byte b : std::as_bytes(std::span(v)))
            hash = (hash ^ std::to_integer<std::uint64_t>(b)) * 1099511628211ull;
        return static_cast<size_t>(hash);
    }
};

} // namespace

Vertex vertexOf(const OrganSurface& surface, int r, int c) {
    const Vector3 p = transformPoint(surface.placement, surface.positions->at(r, c));
    const Vector3 stored = usableNormal(*surface.normals, r, c);
    Vector3 n = surface.placement.rotateVector(surface.alongStoredNormals ? stored : -stored);
    n = n * (1.0 / std::max(n.length(), 1e-30));
    const Vector3& t = surface.texCoords->at(r, c);
    // glTF's texture origin is the image's top left, OpenGL's the bottom left.
    return {float(p.x), float(p.y), float(p.z), float(n.x),         float(n.y),
            float(n.z), float(t.x), float(1.0 - t.y)};
}

PrimitiveData triangulate(const OrganSurface& surface) {
    const Grid& positions = *surface.positions;
    const int rows = positions.rows();
    const int columns = positions.columns();
    PrimitiveData data;
    if (rows < 2 || columns < 2)
        return data;
    std::vector<Vector3> points(static_cast<size_t>(rows) * columns);
    const auto at = [columns](int r, int c) { return static_cast<size_t>(r) * columns + c; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            points[at(r, c)] = transformPoint(surface.placement, positions.at(r, c));
    std::unordered_map<Vertex, std::uint32_t, VertexHash> shared;
    shared.reserve(points.size());
    std::vector<std::int64_t> indexOf(points.size(), -1);
    const auto vertex = [&](int r, int c) {
        const size_t i = at(r, c);
        if (indexOf[i] >= 0)
            return static_cast<std::uint32_t>(indexOf[i]);
        const Vertex v = vertexOf(surface, r, c);
        const auto [entry, added] =
            shared.try_emplace(v, static_cast<std::uint32_t>(data.vertices.size()));
        if (added) {
            data.vertices.push_back(v);
            data.cells.emplace_back(r, c);
        }
        indexOf[i] = entry->second;
        return entry->second;
    };
    const auto triangle = [&](const std::array<std::pair<int, int>, 3>& corners) {
        const Vector3& a = points[at(corners[0].first, corners[0].second)];
        const Vector3& b = points[at(corners[1].first, corners[1].second)];
        const Vector3& c = points[at(corners[2].first, corners[2].second)];
        if (cross(b - a, c - a).length() <= kLeastDoubledArea) {
            ++data.zeroArea;
            return;
        }
        for (const auto& [r, column] : corners)
            data.indices.push_back(vertex(r, column));
    };
    // Wound counter-clockwise about the front normals, as the OBJ front copy is.
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c)
            for (const auto& corners : cellTriangles(r, c, surface.alongStoredNormals))
                triangle(corners);
    return data;
}

