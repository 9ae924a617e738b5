#include "organs/OrganSurfaces.h"

#include "organs/FlowerPetalNode.h"
#include "organs/FlowerPistilNode.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"

namespace {

// `texture` when the view draws it: with the texture flag set and the texture known.
int shownTexture(const FlowerObjectNode& node, int texture, const TextureCache* textures) {
    return node.hasTexture && FlowerObjectNode::textureKnown(textures, texture) ? texture : -1;
}

// The texture drawn on the front: the front one, or the back one standing in, as
// the shaded view does.
int frontTexture(const FlowerObjectNode& node, const TextureCache* textures) {
    return shownTexture(node, node.textureFront >= 0 ? node.textureFront : node.textureBack,
                        textures);
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
        // As the view draws them: the filament wears the front texture, the anther
        // the back one.
        const auto& stamen = static_cast<const FlowerStamenNode&>(node);
        return {tubeSurface(stamen.filament, Matrix4(), SurfaceMaterial::Own,
                            shownTexture(node, node.textureFront, textures)),
                tubeSurface(stamen.anther, stamen.RotAndTrans, SurfaceMaterial::Anther,
                            shownTexture(node, node.textureBack, textures))};
    }
    default:
        return {};
    }
}
