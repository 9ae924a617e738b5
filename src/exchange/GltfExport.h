#pragma once

#include <functional>
#include <string>

class SceneNode;
class TextureCache;

// An image as a glTF file embeds or references it: PNG or JPEG bytes.
struct GltfImage {
    std::string bytes;
    // "image/png" or "image/jpeg".
    std::string mimeType;
};

// Hands over the texture image loaded from `path` as a glTF image; false with
// `error` when it cannot be read or turned into PNG or JPEG.
using GltfImageSource =
    std::function<bool(const std::string& path, GltfImage& image, std::string& error)>;

// The source without any conversion: the file's bytes, which must be PNG or JPEG.
bool readGltfImage(const std::string& path, GltfImage& image, std::string& error);

// The files a glTF export to `chosen` writes: one binary ".glb" file (".glb" is
// appended unless the name ends in ".glb" or ".gltf"), or, for a name ending in
// ".gltf", the JSON file, the binary buffer beside it under the same title with
// ".bin", and the texture images beside both.
struct GltfPaths {
    std::string main;
    // Empty for a ".glb" file.
    std::string bin;
    bool binary = true;
};
GltfPaths gltfExportPaths(const std::string& chosen);

// What an export wrote, for the status line and the measurements.
struct GltfSummary {
    int nodes = 0;
    int meshes = 0;
    int materials = 0;
    int textures = 0;
    // Over the whole scene, a shared mesh counted wherever it is shown.
    long triangles = 0;
    // The grid triangles without area (where a petal's tip or a tube's end closes to
    // a point) that were left out.
    long zeroAreaTriangles = 0;
    // Of every file written.
    long long bytes = 0;
    // Slots whose turn the bloom animates, one rotation channel each (and one
    // translation channel for a flower head opening from a modelled bud).
    int animatedSlots = 0;
    // Organs whose shape the bloom takes from their modelled bud's, by a morph target.
    int morphedOrgans = 0;
};

// How an export plays the flowers' bloom: over `seconds` (0 writes no animation),
// every organ turning about its base from the bud to the flower as modelled (or, for
// a flower head with a modelled bud, moving and changing shape from that bud), whorl
// by whorl, a plant's flower heads opening from the bottom up or from the top down.
struct GltfBloom {
    double seconds = 0.0;
    bool topFirst = false;
};

// Writes `node` (a plant object or a scene) with everything it contains as glTF 2.0
// to the files of gltfExportPaths(chosen). The structure is kept as nodes: a scene's
// plants, a composite's branches and segments and a receptacle's slots, each with
// its placement as the node's matrix, and every organ as a node with a mesh.
// Organs alike in shape and material (to 1e-5 units) share one mesh. Each surface
// is written once as indexed triangles with positions, normals and texture
// coordinates; petals, leaves and sepals are seen from both sides, wearing the
// texture the shaded view puts on their front; stems, stamens, pistils and
// receptacles are seen from outside, facing away from their axes. Materials are
// metallic-roughness:
//   base colour  the diffuse colour as the screen shows it, turned linear as the
//                format wants, or white under a texture (the shaded view shows a
//                texture's own colours under white light; images stay as they are);
//   alpha mode   opaque: the material's alpha only serves the see-through drawing
//                of context objects, solid objects are drawn without blending;
//   roughness    (2 / (shininess + 2))^(1/4), the Phong exponent's usual match,
//                1 for shininess 0 and about 0.35 for 128;
//   metallic     0.
// Textures are those `textures` knows (none without a cache); their images come
// through `images` and are embedded in a ".glb" file or copied beside a ".gltf" one. False, with
// `error` saying why, when an image cannot be had or a file cannot be written; every earlier file
// is then left as it was.
// With a bloom, each slot's node carries its placement as translation and rotation
// and one rotation channel of the animation "bloom" turns it: at the animation's end
// every node stands where the export without a bloom places it. A flower head with a
// modelled bud adds a translation channel per slot, and each organ whose surfaces
// have the same grids in bud and flower gets a mesh of its own with the bud's shape as
// a morph target, its weight animated from 1 to 0. A slot whose
// placement is no rigid motion (only a hand-edited file makes one) keeps its matrix
// and does not move.
bool exportGltfFile(const SceneNode& node, const std::string& chosen, const GltfImageSource& images,
                    const TextureCache* textures, std::string& error,
                    GltfSummary* summary = nullptr, const GltfBloom& bloom = {});
