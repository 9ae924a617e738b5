#include "organs/OrganSurfaces.h"

#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"

namespace {

// The texture drawn on the front: the front one, or the back one standing in, as
// the shaded view does; none without the texture flag or for an unknown texture.
int frontTexture(const FlowerObjectNode& node, const TextureCache* textures) {
    if (!node.hasTexture)
        return -1;
    const int texture = node.textureFront >= 0 ? node.textureFront : node.textureBack;
    return FlowerObjectNode::textureKnown(textures, texture) ? texture : -1;
}

OrganSurface tubeSurface(const StemShape& tube, const Matrix4& placement, SurfaceMaterial material,
                         int texture) {
    OrganSurface surface{&tube.positions, &tube.normals, &tube.texCoords,
                         placement,       material,      texture};
    surface.alongStoredNormals = tube.normalsPointOut();
    return surface;
}

} // namespace

std::vector<OrganSurface> organSurfaces(const FlowerObjectNode& node,
                                        const TextureCache* textures) {
    switch (node.kind) {
    case kKindPetal: {
        const PetalShape& shape = static_cast<const FlowerPetalNode&>(node).shape();
        std::vector<OrganSurface> halves;
        for (PetalHalf half : {PetalHalf::Right, PetalHalf::Left})
            halves.push_back({&shape.positions(half), &shape.normals(half), &shape.texCoords(half),
                              Matrix4(), SurfaceMaterial::Own, frontTexture(node, textures)});
        return halves;
    }
    case kKindStem:
        return {tubeSurface(static_cast<const FlowerStemNode&>(node).tube, Matrix4(),
                            SurfaceMaterial::Own, frontTexture(node, textures))};
    case kKindPistil:
        return {tubeSurface(static_cast<const FlowerPistilNode&>(node).tube, Matrix4(),
                            SurfaceMaterial::Own, frontTexture(node, textures))};
    case kKindTorus:
        return {tubeSurface(static_cast<const FlowerTorusNode&>(node).body, Matrix4(),
                            SurfaceMaterial::Own, frontTexture(node, textures))};
    case kKindStamen: {
        // The filament and anther carry no texture in any export.
        const auto& stamen = static_cast<const FlowerStamenNode&>(node);
        return {tubeSurface(stamen.filament, Matrix4(), SurfaceMaterial::Own, -1),
                tubeSurface(stamen.anther, stamen.RotAndTrans, SurfaceMaterial::Anther, -1)};
    }
    default:
        return {};
    }
}
