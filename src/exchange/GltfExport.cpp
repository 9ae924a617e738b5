// glTF 2.0 export: the model builder (nodes, meshes, materials, textures and the
// bloom's animation) and the export that writes what it built.
#include "exchange/GltfExport.h"

#include "exchange/GltfBloomKeys.h"
#include "exchange/GltfFiles.h"
#include "exchange/GltfTriangles.h"
#include "math/FileText.h"
#include "math/RigidPlacement.h"
#include "model/AxisOpeningOrder.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "model/TextureCache.h"
#include "organs/FlowerStamenNode.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ModelledBud.h"
#include "organs/ObjWriter.h"
#include "organs/OrganBlend.h"
#include "organs/OrganSurfaces.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <unordered_map>

namespace {

constexpr float kLargestShininess = 128.0f;
// Organs are compared for a shared mesh at this many steps per unit (a hundredth of
// a millimetre when a unit is a metre): copies that went through the same re-fitting
// differ by rounding alone, and one mesh serves them all.
constexpr double kKeySteps = 1e5;

// Node names: the object's kind and id ("petal12"), a slot's whorl and index.
const char* kindName(int kind) {
    static constexpr const char* kNames[] = {"pistil",     "stamen",    "petal", "stem",
                                             "receptacle", "composite", "sketch"};
    return kind >= kKindPistil && kind <= kKindSketch ? kNames[kind] : "object";
}

const char* whorlName(int whorl) {
    return isWhorl(whorl) ? organWordOf(whorl) : "slot";
}

// The roughness that matches a Phong exponent: the exponent n corresponds to a
// microfacet distribution of squared width 2 / (n + 2), whose perceptual roughness
// is the square root of the width.
double roughnessOf(float shininess) {
    const double n = std::clamp(shininess, 0.0f, kLargestShininess);
    return std::pow(2.0 / (n + 2.0), 0.25);
}

// The linear value of a colour component as the screen shows it (sRGB encoded):
// glTF's colour factors are linear, and a renderer encodes them again for display.
float linearFromSrgb(float c) {
    const double v = std::clamp(c, 0.0f, 1.0f);
    return static_cast<float>(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
}

bool isIdentity(const Matrix4& m) {
    return m == Matrix4();
}

// Keys per whorl's opening: enough that the eased turn plays smoothly between them.
constexpr int kBloomKeys = 9;

struct MaterialKey {
    std::array<float, 3> base;
    double roughness;
    int texture;
    bool doubleSided;
    auto operator<=>(const MaterialKey&) const = default;
};

class GltfBuilder {
public:
    GltfBuilder(const GltfImageSource& images, const TextureCache* textures, bool embedImages,
                const GltfBloom& bloom)
        : images_(images), textureCache_(textures), embedImages_(embedImages), bloom_(bloom) {
        model.asset.version = "2.0";
        model.asset.generator = "Pelmora";
        model.buffers.emplace_back();
    }

    // The node of a plant object and everything below it; negative after a failure.
    int addObject(const FlowerObjectNode& object) {
        const int index = newNode(std::string(kindName(object.kind)) + std::to_string(object.id));
        const int mesh = meshOf(object);
        if (mesh == kFailed)
            return kFailed;
        model.nodes[index].mesh = mesh;
        if (mesh >= 0) {
            triangles += meshTriangles_[mesh].first;
            zeroAreaTriangles += meshTriangles_[mesh].second;
        }
        bool ok = true;
        if (const FlowerObjectComposite* composite = asComposite(&object))
            forEachPlacedChild(*composite,
                               [&](const FlowerObjectNode& child, const Matrix4& placement, bool) {
                                   ok = ok && adopt(index, addObject(child), placement);
                               });
        if (const FlowerTorusNode* torus = asTorus(&object))
            for (int code : kWhorlsInsideOut) {
                const SlotList& parts = torus->whorl(code).parts;
                for (int i = 0; i < static_cast<int>(parts.size()); ++i) {
                    const FlowerPart& slot = *parts[i];
                    // The slots the file saves with an organ are the ones exported with it.
                    if (!ok || !slot.holdsOrgan())
                        continue;
                    const int slotNode = newNode(std::string("slot_") + whorlName(slot.whorl) +
                                                 "_" + std::to_string(slot.index));
                    const int organNode = addObject(*slot.object);
                    ok = adopt(slotNode, organNode, slot.rotation) &&
                         adoptSlot(index, slotNode, *torus, {code, i});
                    if (ok)
                        morphToBud(slotNode, organNode, *torus, code, i);
                }
            }
        return ok ? index : kFailed;
    }

    // The animation "bloom": per animated slot, keys over its whorl's span on its
    // flower head's time line, placed on the plant's time line by the opening order.
    void addBloom(const OpeningOrder& order) {
        if (animated_.empty())
            return;
        tinygltf::Animation animation;
        animation.name = "bloom";
        // The keys' times, shared by the slots of one whorl of one flower head.
        std::map<std::pair<int, int>, int> inputs;
        GltfBloomKeys sampler(kBloomKeys);
        for (const AnimatedSlot& a : animated_) {
            const SlotBloomKeys keys = sampler.of(*a.torus, a.whorl, a.index);
            auto [input, added] = inputs.try_emplace({a.torus->id, a.whorl}, -1);
            if (added) {
                std::vector<float> seconds;
                const double place = order.placeOf(a.torus->id);
                for (double own : keys.ownTimes) {
                    const double onPlant = place < 0.0 ? own : BloomTime::plantTimeOf(place, own);
                    seconds.push_back(static_cast<float>(onPlant * bloom_.seconds));
                }
                input->second = appendFloats(seconds, TINYGLTF_TYPE_SCALAR, 1);
                model.accessors[input->second].minValues = {seconds.front()};
                model.accessors[input->second].maxValues = {seconds.back()};
            }
            std::vector<float> rotations, translations, weights;
            for (const std::array<double, 4>& q : keys.rotations)
                rotations.insert(rotations.end(), q.begin(), q.end());
            for (const Vector3& t : keys.translations)
                translations.insert(translations.end(), {float(t.x), float(t.y), float(t.z)});
            weights.assign(keys.budWeights.begin(), keys.budWeights.end());
            addChannel(animation, input->second, a.node, "rotation",
                       appendFloats(rotations, TINYGLTF_TYPE_VEC4, 4));
            if (!translations.empty())
                addChannel(animation, input->second, a.node, "translation",
                           appendFloats(translations, TINYGLTF_TYPE_VEC3, 3));
            if (a.morphedNode >= 0 && !weights.empty())
                addChannel(animation, input->second, a.morphedNode, "weights",
                           appendFloats(weights, TINYGLTF_TYPE_SCALAR, 1));
        }
        model.animations.push_back(std::move(animation));
    }

    int animatedSlots() const { return static_cast<int>(animated_.size()); }
    int morphedOrgans() const {
        return static_cast<int>(std::count_if(animated_.begin(), animated_.end(),
                                              [](const AnimatedSlot& a) { return a.morphedNode >= 0; }));
    }

    // The scene's node with a node for each plant; negative after a failure.
    int addScene(const SceneRoot& scene) {
        const int index = newNode("scene" + std::to_string(scene.id));
        for (const SceneRoot::Plant& plant : scene.plants)
            if (!adopt(index, addObject(*plant.composite), plant.placement))
                return kFailed;
        return index;
    }

    void finish(int root) {
        tinygltf::Scene scene;
        scene.nodes.push_back(root);
        model.scenes.push_back(scene);
        model.defaultScene = 0;
        if (model.buffers[0].data.empty())
            model.buffers.clear();
    }

    tinygltf::Model model;
    std::string error;
    // Over every node that shows a mesh.
    long triangles = 0;
    long zeroAreaTriangles = 0;
    // The image files a ".gltf" export writes beside it, by name.
    std::map<std::string, std::string> imageFiles;

private:
    static constexpr int kFailed = -2;

    std::vector<unsigned char>& bin() { return model.buffers[0].data; }

    int newNode(std::string name) {
        tinygltf::Node node;
        node.name = std::move(name);
        model.nodes.push_back(std::move(node));
        return static_cast<int>(model.nodes.size()) - 1;
    }

    // Makes `child` a child of `parent` placed by `placement`.
    bool adopt(int parent, int child, const Matrix4& placement) {
        if (child < 0)
            return false;
        if (!isIdentity(placement))
            model.nodes[child].matrix.assign(placement.data(), placement.data() + 16);
        model.nodes[parent].children.push_back(child);
        return true;
    }

    // Puts the slot's node under its flower head's. While a bloom is exported, a rigid
    // placement goes in as translation and rotation, for the animation to turn.
    bool adoptSlot(int head, int slotNode, const FlowerTorusNode& torus, std::pair<int, int> place) {
        const auto [whorl, slotIndex] = place;
        const FlowerPart& slot = *torus.whorl(whorl).parts[slotIndex];
        const Matrix4& placement = slot.basicTransAndRot;
        if (bloom_.seconds <= 0.0 || !GltfBloomKeys::animatable(torus, whorl, slotIndex))
            return adopt(head, slotNode, placement);
        tinygltf::Node& node = model.nodes[slotNode];
        const Vector3 t = placement.translationPart();
        node.translation = {t.x, t.y, t.z};
        const std::array<double, 4> q = quaternionOf(placement);
        node.rotation.assign(q.begin(), q.end());
        model.nodes[head].children.push_back(slotNode);
        animated_.push_back({slotNode, -1, &torus, whorl, slotIndex});
        return true;
    }

    // For a bloom from a modelled bud, gives the organ's node a mesh whose one morph
    // target is the bud's shape, when the bud's organ has the same grids; the bloom then
    // weighs it from 1 down to 0. Organs alike with the same organ in the bud (copies
    // of a flower head share their bud) share that mesh too.
    void morphToBud(int slotNode, int organNode, const FlowerTorusNode& torus, int whorl,
                    int slotIndex) {
        const ModelledBud* modelled = torus.openingBud();
        if (animated_.empty() || animated_.back().node != slotNode || !modelled)
            return;
        const FlowerPart& slot = *torus.whorl(whorl).parts[slotIndex];
        const FlowerObjectNode* budOrgan =
            modelled->bud().whorl(whorl).parts[slotIndex]->object.get();
        const int shared = model.nodes[organNode].mesh;
        const auto [entry, added] = morphedMeshes_.try_emplace({shared, budOrgan}, -1);
        if (added) {
            const std::unique_ptr<FlowerObjectNode> budShape =
                budOrgan && shared >= 0 ? blendOrgans(*budOrgan, *slot.object, 0.0) : nullptr;
            if (budShape)
                entry->second = morphedMeshOf(*slot.object, *budShape, shared);
        }
        if (entry->second >= 0) {
            model.nodes[organNode].mesh = entry->second;
            animated_.back().morphedNode = organNode;
        }
    }

    // A copy of mesh `shared` (the organ's) with the bud's shape as a morph target of
    // every primitive: positions and normals as differences from the organ's. -1
    // when the two surfaces differ in their grids.
    int morphedMeshOf(const FlowerObjectNode& organ, const FlowerObjectNode& bud, int shared) {
        const std::vector<OrganSurface> surfaces = organSurfaces(organ, textureCache_);
        const std::vector<OrganSurface> budSurfaces = organSurfaces(bud, textureCache_);
        if (surfaces.size() != budSurfaces.size())
            return -1;
        tinygltf::Mesh mesh = model.meshes[shared];
        std::size_t primitive = 0;
        for (std::size_t i = 0; i < surfaces.size(); ++i) {
            const PrimitiveData open = triangulate(surfaces[i]);
            if (open.indices.empty())
                continue;
            const OrganSurface& closed = budSurfaces[i];
            if (closed.positions->rows() != surfaces[i].positions->rows() ||
                closed.positions->columns() != surfaces[i].positions->columns() ||
                primitive >= mesh.primitives.size())
                return -1;
            // Each vertex moves to where its grid point lies in the bud.
            std::vector<Vertex> difference(open.vertices.size());
            for (std::size_t v = 0; v < open.vertices.size(); ++v) {
                const Vertex bud = vertexOf(closed, open.cells[v].first, open.cells[v].second);
                for (int k = 0; k < 6; ++k)
                    difference[v][k] = bud[k] - open.vertices[v][k];
            }
            const int positions = appendAttribute(difference, 0, 3);
            setBounds(model.accessors[positions], difference);
            mesh.primitives[primitive++].targets.push_back(
                {{"POSITION", positions}, {"NORMAL", appendAttribute(difference, 3, 3)}});
        }
        if (primitive != mesh.primitives.size())
            return -1;
        mesh.weights = {0.0};
        mesh.name += "_bloom";
        meshTriangles_.push_back(meshTriangles_[shared]);
        model.meshes.push_back(std::move(mesh));
        return static_cast<int>(model.meshes.size()) - 1;
    }

    void addChannel(tinygltf::Animation& animation, int input, int node, const char* path,
                    int output) {
        tinygltf::AnimationSampler sampler;
        sampler.input = input;
        sampler.output = output;
        sampler.interpolation = "LINEAR";
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation.samplers.size()) - 1;
        channel.target_node = node;
        channel.target_path = path;
        animation.channels.push_back(channel);
    }

    // Floats of `type` (`components` each) as an accessor of their own.
    int appendFloats(const std::vector<float>& values, int type, int components) {
        const int view = appendView(values.data(), values.size() * sizeof(float), 0);
        return appendAccessor(view, TINYGLTF_COMPONENT_TYPE_FLOAT, type,
                              values.size() / components);
    }

    // A buffer view over `bytes` appended to the binary buffer, kept 4-aligned.
    int appendView(const void* data, size_t bytes, int target) {
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = bin().size();
        view.byteLength = bytes;
        view.target = target;
        const auto* begin = static_cast<const unsigned char*>(data);
        bin().insert(bin().end(), begin, begin + bytes);
        bin().resize((bin().size() + 3) & ~size_t(3), 0);
        model.bufferViews.push_back(view);
        return static_cast<int>(model.bufferViews.size()) - 1;
    }

    int appendAccessor(int view, int componentType, int type, size_t count) {
        tinygltf::Accessor accessor;
        accessor.bufferView = view;
        accessor.componentType = componentType;
        accessor.type = type;
        accessor.count = count;
        model.accessors.push_back(accessor);
        return static_cast<int>(model.accessors.size()) - 1;
    }

    // One attribute (components floats from `first` on) of every vertex.
    int appendAttribute(const std::vector<Vertex>& vertices, int first, int components) {
        std::vector<float> values;
        values.reserve(vertices.size() * components);
        for (const Vertex& v : vertices)
            values.insert(values.end(), v.begin() + first, v.begin() + first + components);
        const int view =
            appendView(values.data(), values.size() * sizeof(float), TINYGLTF_TARGET_ARRAY_BUFFER);
        return appendAccessor(view, TINYGLTF_COMPONENT_TYPE_FLOAT,
                              components == 3 ? TINYGLTF_TYPE_VEC3 : TINYGLTF_TYPE_VEC2,
                              vertices.size());
    }

    int appendIndices(const PrimitiveData& data) {
        int view = -1;
        int type = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
        if (data.vertices.size() <= 0xffff) {
            const std::vector<std::uint16_t> narrow(data.indices.begin(), data.indices.end());
            view =
                appendView(narrow.data(), narrow.size() * 2, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
            type = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
        } else {
            view = appendView(data.indices.data(), data.indices.size() * 4,
                              TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        }
        return appendAccessor(view, type, TINYGLTF_TYPE_SCALAR, data.indices.size());
    }

    // The box of the vertices' positions, which a position accessor must carry.
    static void setBounds(tinygltf::Accessor& accessor, const std::vector<Vertex>& vertices) {
        accessor.minValues.assign(3, std::numeric_limits<double>::max());
        accessor.maxValues.assign(3, std::numeric_limits<double>::lowest());
        for (const Vertex& v : vertices)
            for (int k = 0; k < 3; ++k) {
                accessor.minValues[k] = std::min<double>(accessor.minValues[k], v[k]);
                accessor.maxValues[k] = std::max<double>(accessor.maxValues[k], v[k]);
            }
    }

    tinygltf::Primitive appendPrimitive(const PrimitiveData& data) {
        tinygltf::Primitive primitive;
        const int position = appendAttribute(data.vertices, 0, 3);
        setBounds(model.accessors[position], data.vertices);
        primitive.attributes["POSITION"] = position;
        primitive.attributes["NORMAL"] = appendAttribute(data.vertices, 3, 3);
        primitive.attributes["TEXCOORD_0"] = appendAttribute(data.vertices, 6, 2);
        primitive.indices = appendIndices(data);
        primitive.material = data.material;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        return primitive;
    }

    // The organ's mesh, shared with every organ alike; -1 for an object without
    // surfaces, kFailed when a texture cannot be had. Organs are compared by their
    // grids, so that a copy costs no triangulation.
    int meshOf(const FlowerObjectNode& object) {
        const std::vector<OrganSurface> surfaces = organSurfaces(object, textureCache_);
        std::vector<int> materials;
        std::string key;
        for (const OrganSurface& surface : surfaces) {
            const int material = surface.positions->rows() < 2 || surface.positions->columns() < 2
                                     ? -1
                                     : materialOf(object, surface);
            if (material == kFailed)
                return kFailed;
            materials.push_back(material);
            appendKey(key, material, surface);
        }
        const auto [entry, added] = meshes_.try_emplace(std::move(key), -1);
        if (!added)
            return entry->second;
        tinygltf::Mesh mesh;
        std::pair<long, long> counts;
        for (size_t i = 0; i < surfaces.size(); ++i) {
            PrimitiveData data = triangulate(surfaces[i]);
            counts.second += data.zeroArea;
            if (data.indices.empty())
                continue;
            data.material = materials[i];
            mesh.primitives.push_back(appendPrimitive(data));
            counts.first += static_cast<long>(data.indices.size() / 3);
        }
        if (mesh.primitives.empty())
            return -1;
        mesh.name = std::string(kindName(object.kind)) + std::to_string(object.id);
        meshTriangles_.push_back(counts);
        model.meshes.push_back(std::move(mesh));
        entry->second = static_cast<int>(model.meshes.size()) - 1;
        return entry->second;
    }

    // Appends the surface's material, placement and grids to a mesh key, the numbers
    // rounded to kKeySteps per unit.
    static void appendKey(std::string& key, int material, const OrganSurface& surface) {
        const auto append = [&key](long long value) {
            key.append(reinterpret_cast<const char*>(&value), sizeof value);
        };
        const auto rounded = [&append](double value) { append(std::llround(value * kKeySteps)); };
        append(material);
        for (int k = 0; k < 16; ++k)
            rounded(surface.placement[k]);
        for (const Grid* grid : {surface.positions, surface.normals, surface.texCoords}) {
            append(grid->rows());
            append(grid->columns());
            for (const Vector3& v : grid->cells()) {
                rounded(v.x);
                rounded(v.y);
                rounded(v.z);
            }
        }
    }

    int materialOf(const FlowerObjectNode& object, const OrganSurface& surface) {
        Rgba diffuse = object.diffuse;
        float shininess = object.shininess;
        if (surface.material == SurfaceMaterial::Anther) {
            const MaterialBlock& anther =
                static_cast<const FlowerStamenNode&>(object).antherMaterial;
            diffuse = anther.diffuse;
            shininess = anther.shininess;
        }
        const int texture = surface.texture >= 0 ? textureOf(surface.texture) : -1;
        if (texture == kFailed)
            return kFailed;
        MaterialKey key{
            {linearFromSrgb(diffuse.r), linearFromSrgb(diffuse.g), linearFromSrgb(diffuse.b)},
            roughnessOf(shininess),
            texture,
            object.kind == kKindPetal};
        if (texture >= 0)
            key.base = {1.0f, 1.0f, 1.0f};
        const auto [entry, added] =
            materials_.try_emplace(key, static_cast<int>(model.materials.size()));
        if (!added)
            return entry->second;
        tinygltf::Material material;
        material.name = "material" + std::to_string(entry->second);
        material.pbrMetallicRoughness.baseColorFactor = {key.base[0], key.base[1], key.base[2],
                                                         1.0};
        material.pbrMetallicRoughness.metallicFactor = 0.0;
        material.pbrMetallicRoughness.roughnessFactor = key.roughness;
        material.pbrMetallicRoughness.baseColorTexture.index = texture;
        material.alphaMode = "OPAQUE";
        material.doubleSided = key.doubleSided;
        model.materials.push_back(std::move(material));
        return entry->second;
    }

    // The glTF texture of a texture of the cache, its image read once.
    int textureOf(int textureId) {
        const std::string path = textureCache_->path(textureId);
        if (const auto known = textures_.find(path); known != textures_.end())
            return known->second;
        GltfImage image;
        if (!images_(path, image, error))
            return kFailed;
        if (model.samplers.empty()) {
            tinygltf::Sampler sampler;
            sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
            sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR_MIPMAP_LINEAR;
            // Wrapped as the view binds them: clamped across, repeated along.
            sampler.wrapS = TINYGLTF_TEXTURE_WRAP_CLAMP_TO_EDGE;
            sampler.wrapT = TINYGLTF_TEXTURE_WRAP_REPEAT;
            model.samplers.push_back(sampler);
        }
        tinygltf::Image entry;
        const std::string extension = image.mimeType == "image/png" ? ".png" : ".jpg";
        entry.name = imageCopyName(path, image.bytes, extension);
        entry.mimeType = image.mimeType;
        if (embedImages_) {
            entry.bufferView = appendView(image.bytes.data(), image.bytes.size(), 0);
        } else {
            entry.uri = entry.name;
            imageFiles[entry.name] = std::move(image.bytes);
        }
        model.images.push_back(std::move(entry));
        tinygltf::Texture texture;
        texture.sampler = 0;
        texture.source = static_cast<int>(model.images.size()) - 1;
        model.textures.push_back(texture);
        const int index = static_cast<int>(model.textures.size()) - 1;
        textures_[path] = index;
        return index;
    }

    // A slot's node the bloom turns, and the node of its organ when a morph target
    // takes it from the bud's shape (-1 when none does).
    struct AnimatedSlot {
        int node;
        int morphedNode;
        const FlowerTorusNode* torus;
        int whorl;
        int index;
    };

    const GltfImageSource& images_;
    const TextureCache* textureCache_;
    bool embedImages_;
    GltfBloom bloom_;
    std::vector<AnimatedSlot> animated_;
    std::unordered_map<std::string, int> meshes_;
    // By the organ's shared mesh and the organ in the bud: the mesh with its bud's shape.
    std::map<std::pair<int, const FlowerObjectNode*>, int> morphedMeshes_;
    // Per mesh: its triangles and the zero-area ones left out.
    std::vector<std::pair<long, long>> meshTriangles_;
    std::map<MaterialKey, int> materials_;
    std::map<std::string, int> textures_;
};

} // namespace

bool exportGltfFile(const SceneNode& node, const std::string& chosen, const GltfImageSource& images,
                    const TextureCache* textures, std::string& error, GltfSummary* summary,
                    const GltfBloom& bloom) {
    const GltfPaths paths = gltfExportPaths(chosen);
    GltfBuilder builder(images, textures, paths.binary, bloom);
    int root = -1;
    if (const auto* scene = dynamic_cast<const SceneRoot*>(&node))
        root = builder.addScene(*scene);
    else if (const auto* object = dynamic_cast<const FlowerObjectNode*>(&node))
        root = builder.addObject(*object);
    if (root < 0) {
        error = builder.error.empty() ? "nothing to export" : builder.error;
        return false;
    }
    AxisOpeningOrder order;
    order.addPlantsOf(node, bloom.topFirst);
    builder.addBloom(order);
    builder.finish(root);
    FileSet files;
    const bool assembled = paths.binary ? writeGlb(builder.model, paths.main, files, error)
                                        : writeSeparate(builder.model, paths, files, error);
    if (!assembled)
        return false;
    const std::filesystem::path folder = std::filesystem::path(paths.main).parent_path();
    for (auto& [name, bytes] : builder.imageFiles)
        files.emplace_back((folder / name).string(), std::move(bytes));
    if (!writeFilesAtomically(files, error))
        return false;
    if (summary) {
        summary->nodes = static_cast<int>(builder.model.nodes.size());
        summary->meshes = static_cast<int>(builder.model.meshes.size());
        summary->materials = static_cast<int>(builder.model.materials.size());
        summary->textures = static_cast<int>(builder.model.textures.size());
        summary->triangles = builder.triangles;
        summary->zeroAreaTriangles = builder.zeroAreaTriangles;
        summary->animatedSlots = builder.animatedSlots();
        summary->morphedOrgans = builder.morphedOrgans();
        summary->bytes = 0;
        for (const auto& [path, bytes] : files)
            summary->bytes += static_cast<long long>(bytes.size());
    }
    return true;
}
