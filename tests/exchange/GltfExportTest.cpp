#include "exchange/GltfExport.h"
#include "control/GltfImages.h"
#include "math/FileText.h"
#include "model/SceneRoot.h"
#include "organs/FakeTextureCache.h"
#include "organs/ModelledBud.h"
#include "organs/ObjWriter.h"
#include "organs/OrganSurfaces.h"
#include "support/OutwardFaces.h"
#include "support/SamplePlants.h"
#include "support/StarterModels.h"
#include "support/TextLines.h"
#include "support/ToolReports.h"
#include "support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <QImage>

#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <set>

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::string text, error;
    EXPECT_TRUE(readWholeFile(path.string(), text, error)) << error;
    return text;
}

// The Khronos validator's verdict: status 0 when the file has no error.
ToolReport validate(const std::filesystem::path& file) {
    return runTool(std::string(PELMORA_GLTF_VALIDATOR) + " '" + file.string() + "'");
}

tinygltf::Model load(const std::filesystem::path& file) {
    tinygltf::TinyGLTF reader;
    tinygltf::Model model;
    std::string error, warning;
    const bool ok = file.extension() == ".glb"
                        ? reader.LoadBinaryFromFile(&model, &error, &warning, file.string())
                        : reader.LoadASCIIFromFile(&model, &error, &warning, file.string());
    EXPECT_TRUE(ok) << error;
    return model;
}

struct Box {
    Vector3 min{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                std::numeric_limits<double>::max()};
    Vector3 max = -min;
    void widen(const Vector3& p) {
        min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    }
};

// Every vertex of the default scene under its nodes' accumulated matrices.
void widenByNode(const tinygltf::Model& model, int index, const Matrix4& parent, Box& box) {
    const tinygltf::Node& node = model.nodes[index];
    const Matrix4 matrix =
        node.matrix.empty() ? parent : parent * Matrix4::fromColumnMajor(node.matrix.data());
    if (node.mesh >= 0)
        for (const tinygltf::Primitive& primitive : model.meshes[node.mesh].primitives) {
            const tinygltf::Accessor& positions =
                model.accessors[primitive.attributes.at("POSITION")];
            const tinygltf::BufferView& view = model.bufferViews[positions.bufferView];
            const auto* values = reinterpret_cast<const float*>(
                model.buffers[view.buffer].data.data() + view.byteOffset + positions.byteOffset);
            for (size_t i = 0; i < positions.count; ++i)
                box.widen(
                    transformPoint(matrix, {values[3 * i], values[3 * i + 1], values[3 * i + 2]}));
        }
    for (int child : node.children)
        widenByNode(model, child, matrix, box);
}

// The values of a float accessor, or of an index accessor widened.
template <typename Value>
std::vector<Value> accessorValues(const tinygltf::Model& model, int index) {
    const tinygltf::Accessor& accessor = model.accessors[index];
    const tinygltf::BufferView& view = model.bufferViews[accessor.bufferView];
    const unsigned char* data =
        model.buffers[view.buffer].data.data() + view.byteOffset + accessor.byteOffset;
    const size_t count = accessor.count * tinygltf::GetNumComponentsInType(accessor.type);
    std::vector<Value> values(count);
    for (size_t i = 0; i < count; ++i)
        switch (accessor.componentType) {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
            values[i] = static_cast<Value>(reinterpret_cast<const std::uint16_t*>(data)[i]);
            break;
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
            values[i] = static_cast<Value>(reinterpret_cast<const std::uint32_t*>(data)[i]);
            break;
        default:
            values[i] = static_cast<Value>(reinterpret_cast<const float*>(data)[i]);
        }
    return values;
}

std::vector<MeshTriangle> triangles(const tinygltf::Model& model,
                                    const tinygltf::Primitive& primitive) {
    const auto positions = accessorValues<double>(model, primitive.attributes.at("POSITION"));
    const auto normals = accessorValues<double>(model, primitive.attributes.at("NORMAL"));
    const auto indices = accessorValues<size_t>(model, primitive.indices);
    std::vector<MeshTriangle> out(indices.size() / 3);
    for (size_t i = 0; i < indices.size(); ++i) {
        const size_t v = 3 * indices[i];
        out[i / 3].corners[i % 3] = {positions[v], positions[v + 1], positions[v + 2]};
        out[i / 3].normals[i % 3] = {normals[v], normals[v + 1], normals[v + 2]};
    }
    return out;
}

// Every plant object in `object`'s tree by its id.
void collectObjects(const FlowerObjectNode& object, std::map<int, const FlowerObjectNode*>& out) {
    out[object.id] = &object;
    if (const FlowerObjectComposite* composite = asComposite(&object))
        forEachPlacedChild(*composite, [&](const FlowerObjectNode& child, const Matrix4&, bool) {
            collectObjects(child, out);
        });
    if (const FlowerTorusNode* torus = asTorus(&object))
        forEachSlot(*torus, [&](const FlowerPart& slot) {
            if (slot.holdsOrgan())
                collectObjects(*slot.object, out);
        });
}

// The colour a renderer must be given in a linear colour factor to show the
// display colour `c` again.
double linear(float c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Box objVertexBox(const std::string& obj) {
    Box box;
    for (const std::string& line : lines(obj))
        if (line.rfind("v ", 0) == 0) {
            std::istringstream in(line.substr(2));
            Vector3 p;
            in >> p.x >> p.y >> p.z;
            box.widen(p);
        }
    return box;
}

class GltfExportTest : public ::testing::Test, protected OwnModelRecords {
protected:
    WorkingDirectory dir;
    FakeTextureCache textures;
};

} // namespace

// An organ, a flower head with all four whorls, a plant and a scene of two plants,
// as .glb and .gltf: the validator finds no error, another program reads back every
// triangle the OBJ export writes once (all but the ones without area), and the node
// matrices put the vertices where the flat OBJ file has them.
TEST_F(GltfExportTest, EveryClassIsValidAndKeepsTheObjGeometry) {
    auto petal = samples::petal(records());
    auto flower = samples::flower(records());
    auto plant = samples::plant(records(), 3);
    SceneRoot scene(nextId());
    for (double x : {-1.0, 1.0}) {
        Matrix4 place = Matrix4::translation({x, 0, 0.5 * x});
        place.setRotationY(0.7 * x);
        place.setTranslation({x, 0, 0.5 * x});
        scene.plants.push_back({samples::plant(records(), 2), place});
    }
    const std::vector<std::pair<std::string, SceneNode*>> exports = {{"petal.glb", petal.get()},
                                                                     {"flower.gltf", flower.get()},
                                                                     {"plant.glb", plant.get()},
                                                                     {"scene.glb", &scene}};
    for (const auto& [name, node] : exports) {
        SCOPED_TRACE(name);
        const std::filesystem::path file = dir.path(name);
        GltfSummary summary;
        std::string error;
        ASSERT_TRUE(exportGltfFile(*node, file.string(), readGltfImage, &textures, error, &summary))
            << error;
        const ToolReport verdict = validate(file);
        EXPECT_EQ(verdict.status, 0) << verdict.text;

        ASSERT_TRUE(exportObjFiles(*node, dir.path("flat").string(), true, &textures, error))
            << error;
        const std::string obj = readFile(dir.path("flat.obj"));
        const long objTriangles = std::stol(reportValue(assimpInfo("flat.obj"), "Faces"));
        const long triangles = reportedSceneTriangles(assimpInfo(file.string()));
        EXPECT_EQ(triangles, summary.triangles);
        EXPECT_EQ(triangles + summary.zeroAreaTriangles, objTriangles);
        EXPECT_LT(summary.zeroAreaTriangles * 10, objTriangles);

        const tinygltf::Model model = load(file);
        Box box;
        widenByNode(model, model.scenes[model.defaultScene].nodes[0], Matrix4(), box);
        const Box flat = objVertexBox(obj);
        EXPECT_LT(distance(box.min, flat.min), 1e-4);
        EXPECT_LT(distance(box.max, flat.max), 1e-4);
    }
    // The structure stays: three branches with a flower head each, its organs in
    // slots; the scene's two plants each under a node of their own.
    const tinygltf::Model model = load(dir.path("plant.glb"));
    const auto named = [&](const std::string& prefix) {
        return std::count_if(model.nodes.begin(), model.nodes.end(),
                             [&](const tinygltf::Node& n) { return n.name.starts_with(prefix); });
    };
    EXPECT_EQ(named("receptacle"), 3);
    EXPECT_EQ(named("slot_petal_"), 3 * 6);
    EXPECT_EQ(named("slot_sepal_"), 3 * 5);
    EXPECT_EQ(load(dir.path("scene.glb")).nodes[0].children.size(), 2u);
}

// The starter flower head, plant and scene as a new user exports them. Every tube
// (stem, stamen, pistil, receptacle) is seen from outside: the receptacle's faces
// once pointed into it, and a viewer that culls back faces showed the inside of the
// cup. Every organ wears its colour on screen turned linear: written unchanged, the
// violet petals came out pale.
TEST_F(GltfExportTest, StarterModelsShowTubesFromOutsideInTheColoursOnScreen) {
    const StarterModels starter(ids);
    std::map<int, const FlowerObjectNode*> objects;
    for (const auto& plant : starter.scene->plants)
        collectObjects(*plant.composite, objects);
    collectObjects(*starter.flowerHead, objects);
    collectObjects(*starter.plant, objects);
    bool violetSeen = false;
    for (const auto& [name, node] :
         std::vector<std::pair<std::string, SceneNode*>>{{"flower.glb", starter.flowerHead},
                                                         {"plant.glb", starter.plant},
                                                         {"scene.glb", starter.scene}}) {
        SCOPED_TRACE(name);
        std::string error;
        ASSERT_TRUE(exportGltfFile(*node, dir.path(name).string(), readGltfImage, &textures, error))
            << error;
        const ToolReport verdict = validate(dir.path(name));
        EXPECT_EQ(verdict.status, 0) << verdict.text;
        const tinygltf::Model model = load(dir.path(name));
        for (const tinygltf::Mesh& mesh : model.meshes) {
            if (mesh.name.starts_with("petal"))
                continue;
            for (const tinygltf::Primitive& primitive : mesh.primitives)
                EXPECT_GE(outwardShare(triangles(model, primitive)), 0.99) << mesh.name;
        }
        for (const tinygltf::Node& gltfNode : model.nodes) {
            const size_t digits = gltfNode.name.find_first_of("0123456789");
            if (gltfNode.mesh < 0 || digits == std::string::npos)
                continue;
            const FlowerObjectNode& object = *objects.at(std::stoi(gltfNode.name.substr(digits)));
            const auto& primitives = model.meshes[gltfNode.mesh].primitives;
            for (size_t i = 0; i < primitives.size(); ++i) {
                const Rgba& shown =
                    object.kind == kKindStamen && i == 1
                        ? static_cast<const FlowerStamenNode&>(object).antherMaterial.diffuse
                        : object.diffuse;
                const auto& factor =
                    model.materials[primitives[i].material].pbrMetallicRoughness.baseColorFactor;
                EXPECT_NEAR(factor[0], linear(shown.r), 1e-6) << gltfNode.name;
                EXPECT_NEAR(factor[1], linear(shown.g), 1e-6) << gltfNode.name;
                EXPECT_NEAR(factor[2], linear(shown.b), 1e-6) << gltfNode.name;
                // The violet shown as (140, 76, 217).
                if (std::lround(shown.r * 255) == 140 && std::lround(shown.b * 255) == 217) {
                    violetSeen = true;
                    EXPECT_NEAR(factor[0], 0.263, 1e-3);
                    EXPECT_NEAR(factor[1], 0.073, 1e-3);
                    EXPECT_NEAR(factor[2], 0.692, 1e-3);
                }
            }
        }
    }
    EXPECT_TRUE(violetSeen);
}

// A flower whose petals are copies of one textured petal, as a whorl filled from
// the library is: the texture travels with the file, the petals share one mesh and
// are seen from both sides, and every distinct organ has a mesh of its own. Its
// stamens wear the texture on the filament (the anther has no back texture), as the
// view shows them; the export once left every stamen plain.
TEST_F(GltfExportTest, ATexturedWhorlKeepsItsTextureAndSharesOneMeshPerDistinctOrgan) {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    // A BMP, which glTF does not take: the export converts it.
    const std::string bmp = dir.path("rose.bmp").string();
    ASSERT_TRUE(image.save(QString::fromStdString(bmp)));
    auto flower = samples::flower(records());
    auto petal = samples::petal(records(), 7);
    petal->setTexture(true, textures.load(bmp), -1);
    for (const auto& slot : flower->whorl(kWhorlPetal).parts)
        slot->object = petal->clone(ids);
    flower->whorl(kWhorlStamen).parts[0]->object->setTexture(true, textures.load(bmp), -1);
    for (const auto& slot : flower->whorl(kWhorlStamen).parts)
        slot->object = flower->whorl(kWhorlStamen).parts[0]->object->clone(ids);

    for (const char* name : {"rose.glb", "rose.gltf"}) {
        SCOPED_TRACE(name);
        std::string error;
        ASSERT_TRUE(
            exportGltfFile(*flower, dir.path(name).string(), gltfImageFromFile, &textures, error))
            << error;
        const ToolReport verdict = validate(dir.path(name));
        EXPECT_EQ(verdict.status, 0) << verdict.text;
        const tinygltf::Model model = load(dir.path(name));
        ASSERT_EQ(model.images.size(), 1u);

        std::set<int> petalMeshes;
        for (const tinygltf::Node& node : model.nodes)
            if (node.name.starts_with("petal") && node.mesh >= 0) {
                const tinygltf::Mesh& mesh = model.meshes[node.mesh];
                const tinygltf::Material& material = model.materials[mesh.primitives[0].material];
                if (material.pbrMetallicRoughness.baseColorTexture.index >= 0)
                    petalMeshes.insert(node.mesh);
                EXPECT_TRUE(material.doubleSided);
            }
        EXPECT_EQ(petalMeshes.size(), 1u);
        const auto textureOf = [&](const tinygltf::Primitive& primitive) {
            return model.materials[primitive.material].pbrMetallicRoughness.baseColorTexture.index;
        };
        int stamenMeshes = 0;
        for (const tinygltf::Mesh& mesh : model.meshes)
            if (mesh.name.starts_with("stamen") && ++stamenMeshes) {
                ASSERT_EQ(mesh.primitives.size(), 2u);
                EXPECT_GE(textureOf(mesh.primitives[0]), 0);
                EXPECT_LT(textureOf(mesh.primitives[1]), 0);
            }
        EXPECT_EQ(stamenMeshes, 1);
        // Receptacle, pistil, stamen, petal and the five different sepals.
        EXPECT_EQ(model.meshes.size(), 9u);
    }
    // Embedded in the .glb file and beside the .gltf one, the image is a PNG of the
    // texture.
    const tinygltf::Model binary = load(dir.path("rose.glb"));
    const tinygltf::BufferView& view = binary.bufferViews[binary.images[0].bufferView];
    EXPECT_EQ(binary.images[0].mimeType, "image/png");
    const QImage embedded = QImage::fromData(binary.buffers[0].data.data() + view.byteOffset,
                                             static_cast<int>(view.byteLength), "PNG");
    const tinygltf::Model separate = load(dir.path("rose.gltf"));
    const QImage beside(QString::fromStdString(dir.path(separate.images[0].uri).string()), "PNG");
    for (const QImage& carried : {embedded, beside}) {
        EXPECT_EQ(carried.size(), QSize(8, 4));
        EXPECT_EQ(carried.pixelColor(3, 2), QColor(200, 40, 90));
    }
}

// A texture that cannot be read or a folder that cannot be written fails the export
// and leaves the earlier file whole.
TEST_F(GltfExportTest, AFailedExportLeavesTheEarlierFileAsItWas) {
    auto stem = samples::stem(records());
    const std::string file = dir.path("stem.glb").string();
    std::string error;
    ASSERT_TRUE(exportGltfFile(*stem, file, readGltfImage, &textures, error)) << error;
    const std::string before = readFile(file);
    stem->setTexture(true, textures.load(dir.path("gone.png").string()), -1);
    EXPECT_FALSE(exportGltfFile(*stem, file, readGltfImage, &textures, error));
    EXPECT_NE(error.find("gone.png"), std::string::npos) << error;
    EXPECT_EQ(readFile(file), before);
    EXPECT_FALSE(
        exportGltfFile(*stem, "/nonexistent-dir/stem.gltf", readGltfImage, &textures, error));
}

// A plant's bloom as an animation: the file passes the validator, one rotation
// channel turns each slot that holds an organ, the geometry is byte for byte the
// static export's, and at the animation's end every slot stands where the static
// export places it, while at its start the organs are turned into their buds. The
// lowest flower head starts opening before the topmost.
TEST_F(GltfExportTest, TheBloomTurnsEverySlotAndEndsAtTheStaticPlacements) {
    const auto plant = samples::plant(records(), 3);
    int filled = 0;
    for (const auto& branch : plant->branches)
        forEachSlot(*asTorus(branch.composite->segments.back().node.get()),
                    [&](const FlowerPart& slot) { filled += slot.holdsOrgan(); });
    // The lowest head's placements as a library file keeps them, to six decimals: they
    // are then rotations only to that precision, and were once left unanimated.
    auto* lowest = static_cast<FlowerTorusNode*>(plant->branches[0].composite->segments.back().node.get());
    forEachSlot(*lowest, [](FlowerPart& slot) {
        for (int i = 0; i < 16; ++i)
            slot.basicTransAndRot[i] = std::round(slot.basicTransAndRot[i] * 1e6) / 1e6;
    });
    std::string error;
    GltfSummary still, animated;
    ASSERT_TRUE(exportGltfFile(*plant, dir.path("still.glb").string(), readGltfImage, &textures,
                               error, &still))
        << error;
    ASSERT_TRUE(exportGltfFile(*plant, dir.path("bloom.glb").string(), readGltfImage, &textures,
                               error, &animated, GltfBloom{4.0}))
        << error;
    const ToolReport verdict = validate(dir.path("bloom.glb"));
    EXPECT_EQ(verdict.status, 0) << verdict.text;
    EXPECT_EQ(animated.animatedSlots, filled);

    const tinygltf::Model a = load(dir.path("bloom.glb"));
    const tinygltf::Model s = load(dir.path("still.glb"));
    ASSERT_EQ(a.animations.size(), 1u);
    const tinygltf::Animation& bloom = a.animations[0];
    ASSERT_EQ(bloom.channels.size(), static_cast<size_t>(filled));
    const std::vector<unsigned char>& geometry = s.buffers[0].data;
    ASSERT_GE(a.buffers[0].data.size(), geometry.size());
    EXPECT_TRUE(std::equal(geometry.begin(), geometry.end(), a.buffers[0].data.begin()));
    ASSERT_EQ(a.nodes.size(), s.nodes.size());

    std::set<int> turned;
    double earliestStart = 1e9, latestStart = -1e9;
    for (const tinygltf::AnimationChannel& channel : bloom.channels) {
        EXPECT_EQ(channel.target_path, "rotation");
        EXPECT_TRUE(turned.insert(channel.target_node).second) << "one channel per slot";
        const tinygltf::Node& node = a.nodes[channel.target_node];
        EXPECT_TRUE(node.name.starts_with("slot_"));
        const tinygltf::AnimationSampler& sampler = bloom.samplers[channel.sampler];
        const auto times = accessorValues<double>(a, sampler.input);
        const auto keys = accessorValues<double>(a, sampler.output);
        ASSERT_EQ(keys.size(), 4 * times.size());
        EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
        EXPECT_LE(times.back(), 4.0 + 1e-6);
        earliestStart = std::min(earliestStart, times.front());
        latestStart = std::max(latestStart, times.front());
        // The last key, with the node's translation, is the static matrix.
        const size_t last = keys.size() - 4;
        const double x = keys[last], y = keys[last + 1], z = keys[last + 2], w = keys[last + 3];
        const double r[9] = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (x * z - y * w),
                             2 * (x * y - z * w),     1 - 2 * (x * x + z * z), 2 * (y * z + x * w),
                             2 * (x * z + y * w),     2 * (y * z - x * w),     1 - 2 * (x * x + y * y)};
        const std::vector<double>& still = s.nodes[channel.target_node].matrix;
        ASSERT_EQ(still.size(), 16u);
        for (int column = 0; column < 3; ++column)
            for (int row = 0; row < 3; ++row)
                EXPECT_NEAR(r[3 * column + row], still[4 * column + row], 1e-5);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(node.translation[i], still[12 + i], 1e-12);
        double turnedAtStart = 0.0;
        for (int i = 0; i < 4; ++i)
            turnedAtStart += std::abs(keys[i] - keys[last + i]);
        if (!node.name.starts_with("slot_pistil")) { // the pistil stands on the axis
            EXPECT_GT(turnedAtStart, 1e-3) << node.name << " starts as a bud";
        }
    }
    EXPECT_LT(earliestStart + 1.0, latestStart) << "the flower heads open in turn";
}

// A flower head opening from a bud modelled by hand: the file passes the validator;
// each slot's node is moved and turned from the bud's placement to the flower's, and
// each organ's mesh carries the bud's shape as a morph target weighed from 1 down to
// 0, so that at the start the organ's vertices are the bud organ's.
TEST_F(GltfExportTest, AModelledBudMovesEverySlotAndMorphsEveryOrganFromTheBudsShape) {
    auto flower = samples::flower(records());
    flower->modelledBud =
        std::make_shared<const ModelledBud>(samples::handModelledBud(*flower, records()));
    int filled = 0;
    forEachSlot(*flower, [&](const FlowerPart& slot) { filled += slot.holdsOrgan(); });
    std::string error;
    GltfSummary summary;
    ASSERT_TRUE(exportGltfFile(*flower, dir.path("bud.glb").string(), readGltfImage, &textures,
                               error, &summary, GltfBloom{4.0}))
        << error;
    const ToolReport verdict = validate(dir.path("bud.glb"));
    EXPECT_EQ(verdict.status, 0) << verdict.text;
    EXPECT_EQ(summary.animatedSlots, filled);
    EXPECT_EQ(summary.morphedOrgans, filled);

    const tinygltf::Model a = load(dir.path("bud.glb"));
    ASSERT_EQ(a.animations.size(), 1u);
    std::map<std::string, int> paths;
    for (const tinygltf::AnimationChannel& channel : a.animations[0].channels) {
        ++paths[channel.target_path];
        const auto keys =
            accessorValues<double>(a, a.animations[0].samplers[channel.sampler].output);
        const tinygltf::Node& node = a.nodes[channel.target_node];
        if (channel.target_path != "weights")
            continue;
        EXPECT_EQ(keys.front(), 1.0);
        EXPECT_EQ(keys.back(), 0.0);
        // The organ node's id names the flower's organ; its bud is in the same slot of
        // the bud.
        const int id = std::stoi(node.name.substr(node.name.find_first_of("0123456789")));
        const FlowerObjectNode* budOrgan = nullptr;
        for (int whorl : kWhorlsInsideOut)
            for (std::size_t i = 0; i < flower->whorl(whorl).parts.size(); ++i)
                if (const auto& organ = flower->whorl(whorl).parts[i]->object; organ && organ->id == id)
                    budOrgan = flower->modelledBud->bud().whorl(whorl).parts[i]->object.get();
        ASSERT_NE(budOrgan, nullptr) << node.name;
        Box bud;
        for (const OrganSurface& surface : organSurfaces(*budOrgan, nullptr))
            for (const Vector3& p : surface.positions->cells())
                bud.widen(transformPoint(surface.placement, p));
        Box morphed;
        for (const tinygltf::Primitive& primitive : a.meshes[node.mesh].primitives) {
            ASSERT_EQ(primitive.targets.size(), 1u);
            const auto positions = accessorValues<double>(a, primitive.attributes.at("POSITION"));
            const auto moves = accessorValues<double>(a, primitive.targets[0].at("POSITION"));
            ASSERT_EQ(positions.size(), moves.size());
            for (std::size_t v = 0; v < positions.size(); v += 3)
                morphed.widen({positions[v] + moves[v], positions[v + 1] + moves[v + 1],
                               positions[v + 2] + moves[v + 2]});
        }
        EXPECT_NEAR(distance(morphed.min, bud.min), 0.0, 1e-5) << node.name;
        EXPECT_NEAR(distance(morphed.max, bud.max), 0.0, 1e-5) << node.name;
    }
    EXPECT_EQ(paths["rotation"], filled);
    EXPECT_EQ(paths["translation"], filled);
    EXPECT_EQ(paths["weights"], filled);
}
