#pragma once

#include "math/Matrix4.h"

#include <vector>

class FlowerObjectNode;
class Grid;
class TextureCache;

// Which of its organ's materials a surface wears.
enum class SurfaceMaterial { Own, Anther };

// One surface of an organ, once, as its grids sample it: the front side, placed by
// `placement` in the organ's frame. Exporters that carry a surface once, seen from
// both sides where the material says so, write these.
struct OrganSurface {
    const Grid* positions = nullptr;
    const Grid* normals = nullptr;
    const Grid* texCoords = nullptr;
    Matrix4 placement;
    SurfaceMaterial material = SurfaceMaterial::Own;
    // The texture the front side shows, -1 for none.
    int texture = -1;
    // Whether the front faces along the stored normals. The grids mostly hold the
    // back side's (a petal's underside, a tube's inside), so the front is the other
    // side; a tube whose rings run the other way round holds its outside's.
    bool alongStoredNormals = false;
};

// The organ's own surfaces: a petal's two halves, a tube's outside (facing away from
// its axis whichever way its rings run), a stamen's filament and anther, a
// receptacle's body. Composites, sketches and the organs a receptacle carries
// contribute none here. Textures the cache does not know (or all, without a cache)
// count as none.
std::vector<OrganSurface> organSurfaces(const FlowerObjectNode& node, const TextureCache* textures);
