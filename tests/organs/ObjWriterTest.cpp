#include "organs/ObjWriter.h"
#include "math/FileText.h"
#include "math/TextWriter.h"
#include "model/ObjExport.h"
#include "model/SceneRoot.h"
#include "organs/FakeTextureCache.h"
#include "support/OutwardFaces.h"
#include "support/SamplePlants.h"
#include "support/StarterModels.h"
#include "support/TextLines.h"
#include "support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace {

// A flat rows x columns sheet in the z = 0 plane with texture coordinates; like
// every organ grid it holds its back side's normals, so its front faces +z.
struct Sheet {
    Grid positions, normals, texCoords;
    Sheet(int rows, int columns)
        : positions(rows, columns), normals(rows, columns), texCoords(rows, columns) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                positions.at(r, c) = {c * 0.1, r * 0.1, 0};
                normals.at(r, c) = {0, 0, -1};
                texCoords.at(r, c) = {c / (columns - 1.0), r / (rows - 1.0), 0};
            }
    }
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The parts of an OBJ file that decide how a reader lights it.
struct ObjMesh {
    struct Face {
        int corner[3];
        int group;
    };
    // A group's vertices are the ones written after its "g" line.
    struct Group {
        std::string name;
        int firstVertex = 0;
        int vertexCount = 0;
    };
    std::vector<Vector3> positions, normals;
    std::vector<Face> faces;
    std::vector<Group> groups;

    explicit ObjMesh(const std::string& text) {
        for (const std::string& line : lines(text)) {
            Vector3 p;
            Face f{{}, static_cast<int>(groups.size()) - 1};
            int t[6];
            if (std::sscanf(line.c_str(), "v %lf %lf %lf", &p.x, &p.y, &p.z) == 3) {
                positions.push_back(p);
                ++groups.back().vertexCount;
            } else if (std::sscanf(line.c_str(), "vn %lf %lf %lf", &p.x, &p.y, &p.z) == 3) {
                normals.push_back(p);
            } else if (line.rfind("g ", 0) == 0) {
                groups.push_back({line.substr(2), static_cast<int>(positions.size()), 0});
            } else if (std::sscanf(line.c_str(), "f %d/%d/%d %d/%d/%d %d/%d/%d", &f.corner[0],
                                   &t[0], &t[1], &f.corner[1], &t[2], &t[3], &f.corner[2], &t[4],
                                   &t[5]) == 9) {
                faces.push_back(f);
            }
        }
    }
    const std::string& groupOf(const Face& f) const { return groups[f.group].name; }
    const Vector3& position(const Face& f, int k) const { return positions[f.corner[k] - 1]; }
    // The face's normal by the right-hand rule over its winding; zero when the face
    // is no wider than the six decimals of the file can tell (where a surface closes
    // to a point, rounding leaves slivers whose winding is noise).
    Vector3 windingNormal(const Face& f) const {
        const Vector3& a = positions[f.corner[0] - 1];
        const Vector3& b = positions[f.corner[1] - 1];
        const Vector3& c = positions[f.corner[2] - 1];
        const Vector3 n = cross(b - a, c - a);
        const double longest = std::max({distance(a, b), distance(b, c), distance(c, a)});
        return n.length() > 5e-6 * longest ? unit(n) : Vector3();
    }
    Vector3 vertexNormals(const Face& f) const {
        return normals[f.corner[0] - 1] + normals[f.corner[1] - 1] + normals[f.corner[2] - 1];
    }
    // Twice the face's area over its longest side: how far its corners must move to
    // turn it over.
    double height(const Face& f) const {
        const Vector3 &a = position(f, 0), &b = position(f, 1), &c = position(f, 2);
        const double longest = std::max({distance(a, b), distance(b, c), distance(c, a)});
        return longest > 0.0 ? cross(b - a, c - a).length() / longest : 0.0;
    }
    MeshTriangle triangle(const Face& f) const {
        MeshTriangle t;
        for (int k = 0; k < 3; ++k) {
            t.corners[k] = position(f, k);
            t.normals[k] = normals[f.corner[k] - 1];
        }
        return t;
    }
};

// The object id a group name ends in ("stemBack_1_12", "petalLeftFront_12").
std::string organOf(const std::string& group) {
    return group.substr(group.rfind('_') + 1);
}

// What a reader that lights by the stored normals and culls by the winding sees
// wrong: zero normals, and faces whose normals point against their winding. Faces no
// higher than `slack(face)` are let off.
template <typename Slack> void expectNormalsFollowTheWinding(const ObjMesh& mesh, Slack&& slack) {
    for (const Vector3& n : mesh.normals)
        ASSERT_GT(n.length(), 0.5) << "a normal without direction";
    int against = 0;
    std::string example;
    for (const ObjMesh::Face& f : mesh.faces)
        if (mesh.height(f) > slack(f) && dot(mesh.vertexNormals(f), mesh.windingNormal(f)) < 0 &&
            ++against == 1)
            example = mesh.groupOf(f);
    EXPECT_EQ(against, 0) << "of " << mesh.faces.size() << " faces, e.g. in " << example;
}

ObjMesh exported(SceneNode& node, bool singleSurfaces) {
    ObjExport out;
    out.singleSurfaces = singleSurfaces;
    node.exportObj(out, Matrix4(), 0);
    return ObjMesh(out.obj.str());
}

} // namespace

TEST(ObjWriter, GridWritesVerticesNormalsTexturesAndFacesInOrder) {
    const Sheet sheet(20, 20);
    TextWriter obj;
    writeGrid(obj, sheet.positions, sheet.normals, sheet.texCoords, Matrix4(), false, 0);
    const auto all = lines(obj.str());
    ASSERT_EQ(all.size(), 3u * 400 + 2u * 19 * 19);
    EXPECT_EQ(all[0], "v 0.000000 0.000000 0.000000");
    EXPECT_EQ(all[400], "vn 0.000000 0.000000 1.000000");
    EXPECT_EQ(all[800], "vt 0.000000 0.000000 0.000000");
    EXPECT_EQ(all[1200], "f 1/1/1 22/22/22 21/21/21");
    EXPECT_EQ(all[1201], "f 1/1/1 2/2/2 22/22/22");
}

TEST(ObjWriter, TheBackCopyFacesTheOtherWay) {
    const Sheet sheet(2, 2);
    TextWriter obj;
    writeGrid(obj, sheet.positions, sheet.normals, sheet.texCoords, Matrix4(), true, 10);
    const auto all = lines(obj.str());
    EXPECT_EQ(all[4], "vn 0.000000 0.000000 -1.000000");
    EXPECT_EQ(all[12], "f 11/11/11 13/13/13 14/14/14");
    EXPECT_EQ(all[13], "f 11/11/11 14/14/14 12/12/12");
}

TEST(ObjWriter, NormalsIgnoreThePlacementTranslation) {
    const Sheet sheet(2, 2);
    Matrix4 placement;
    placement.setRotationY(0.7);
    placement.setTranslation({100, -50, 30});
    TextWriter obj;
    writeGrid(obj, sheet.positions, sheet.normals, sheet.texCoords, placement, false, 0);
    for (const std::string& line : lines(obj.str())) {
        if (line.rfind("vn ", 0) != 0)
            continue;
        double x = 0, y = 0, z = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "vn %lf %lf %lf", &x, &y, &z), 3);
        EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 1.0, 1e-5);
    }
    EXPECT_EQ(lines(obj.str())[0], "v 100.000000 -50.000000 30.000000");
}

// The starter library's flower head with all four whorls, the plant carrying one
// and a scene of two such plants hold every organ class; their surfaces close to
// points at tips and ends, where the computed normals have no length. Both copies of
// a surface once lay on each other, and a path tracer rendered them grainy or black.
TEST(ObjWriter, TheTwoCopiesOfEverySurfaceLieApartAHairAndFaceTheirOwnWays) {
    IdCounter ids;
    const StarterModels starter(ids);
    // The starter scene itself holds thirteen more flowers alike in every surface.
    SceneRoot scene(ids.nextId());
    for (double x : {-0.6, 0.8})
        scene.plantAlongStroke(asComposite(starter.plant->clone(ids)),
                               samples::line({x, 0, 0.3 * x}, {x + 0.3 * x, 1.5, 0}));
    for (SceneNode* node :
         {static_cast<SceneNode*>(starter.flowerHead), static_cast<SceneNode*>(starter.plant),
          static_cast<SceneNode*>(&scene)}) {
        const ObjMesh single = exported(*node, true);
        expectNormalsFollowTheWinding(single, [](const ObjMesh::Face&) { return 0.0; });
        for (const ObjMesh::Group& g : single.groups)
            ASSERT_NE(g.name.find("Front"), std::string::npos) << g.name;
        const ObjMesh both = exported(*node, false);
        EXPECT_EQ(2 * single.faces.size(), both.faces.size());

        // A thousandth of each organ's size (the diagonal of its box in the file), with
        // the file's rounding.
        std::map<std::string, std::pair<Vector3, Vector3>> boxes;
        for (const ObjMesh::Group& g : both.groups)
            for (int i = g.firstVertex; i < g.firstVertex + g.vertexCount; ++i) {
                const Vector3& p = both.positions[i];
                const auto [box, added] = boxes.try_emplace(organOf(g.name), p, p);
                widenBox(box->second.first, box->second.second, p);
            }
        std::vector<double> offset;
        for (const ObjMesh::Group& g : both.groups) {
            const auto& [min, max] = boxes.at(organOf(g.name));
            offset.push_back(1e-3 * distance(min, max) + 2e-6);
        }
        // Each back copy follows its front and is it moved a hair, vertex for vertex.
        for (size_t g = 1; g < both.groups.size(); ++g) {
            const ObjMesh::Group &back = both.groups[g], &front = both.groups[g - 1];
            const size_t at = back.name.find("Back");
            if (at == std::string::npos)
                continue;
            ASSERT_EQ(front.name, back.name.substr(0, at) + "Front" + back.name.substr(at + 4));
            for (int i = 0; i < back.vertexCount; ++i)
                ASSERT_LE(distance(both.positions[back.firstVertex + i],
                                   both.positions[front.firstVertex + i]),
                          offset[g])
                    << back.name << " vertex " << i;
        }
        // No face lies on another; faces without area (where a ring closes to a
        // point) show nothing.
        std::set<std::array<std::tuple<double, double, double>, 3>> shown;
        for (const ObjMesh::Face& f : both.faces) {
            if (both.windingNormal(f).length() == 0.0)
                continue;
            std::array<std::tuple<double, double, double>, 3> corners;
            for (int k = 0; k < 3; ++k)
                corners[k] = {both.position(f, k).x, both.position(f, k).y, both.position(f, k).z};
            std::sort(corners.begin(), corners.end());
            ASSERT_TRUE(shown.insert(corners).second) << both.groupOf(f) << " lies on a face";
        }
        // Only a face narrower than the copies lie apart (a sliver where a tube closes
        // to a point on its rim) may turn over in the back copy.
        expectNormalsFollowTheWinding(both, [&](const ObjMesh::Face& f) {
            return both.groupOf(f).find("Back") == std::string::npos ? 0.0 : 2 * offset[f.group];
        });
    }
}

// Which copy is the front: a tube's faces out of it, whichever way its rings run (a
// receptacle profile drawn from the top down once turned its front inwards).
TEST(ObjWriter, EveryTubesFrontFacesOutward) {
    IdCounter ids;
    const StarterModels starter(ids);
    for (SceneNode* node :
         {static_cast<SceneNode*>(starter.flowerHead), static_cast<SceneNode*>(starter.plant)}) {
        const ObjMesh single = exported(*node, true);
        std::map<std::string, std::vector<MeshTriangle>> tubes;
        for (const ObjMesh::Face& f : single.faces)
            if (single.groupOf(f).starts_with("stemFront"))
                tubes[single.groupOf(f)].push_back(single.triangle(f));
        ASSERT_FALSE(tubes.empty());
        for (const auto& [group, faces] : tubes)
            EXPECT_GE(outwardShare(faces), 0.99) << group;
    }
}

// A petal's front copy is the side the program lights as the petal's front (against
// the normals its shape stores).
TEST(ObjWriter, APetalsFrontCopyIsTheSideLitAsItsFront) {
    OwnModelRecords records;
    const auto petal = samples::petal(records.records());
    ASSERT_NE(petal, nullptr);
    ObjExport out;
    petal->exportObj(out, Matrix4(), 0);
    const ObjMesh sides(out.obj.str());
    // The first two groups are the right half's front and back.
    const std::vector<Vector3>& stored = petal->shape().normals(PetalHalf::Right).cells();
    for (size_t i = 0; i < stored.size(); ++i) {
        ASSERT_LT(dot(sides.normals[i], stored[i]), 0.0) << i;
        ASSERT_GT(dot(sides.normals[stored.size() + i], stored[i]), 0.0) << i;
    }
}

TEST(ObjWriter, TextureCopiesShareANameOnlyForTheSameImage) {
    WorkingDirectory dir;
    std::filesystem::create_directories(dir.path("a"));
    std::filesystem::create_directories(dir.path("b"));
    std::string error;
    ASSERT_TRUE(writeFileAtomically(dir.path("a/rose petal.bmp").string(), "red", error));
    ASSERT_TRUE(writeFileAtomically(dir.path("b/rose petal.bmp").string(), "white", error));
    ObjExport out;
    const std::string red = textureCopyName(out, dir.path("a/rose petal.bmp").string());
    const std::string white = textureCopyName(out, dir.path("b/rose petal.bmp").string());
    EXPECT_NE(red, white);
    EXPECT_EQ(red.rfind("rose_petal-", 0), 0u) << red;
    EXPECT_EQ(red.substr(red.size() - 4), ".bmp");
    EXPECT_EQ(textureCopyName(out, dir.path("a/rose petal.bmp").string()), red);
    EXPECT_EQ(out.textures.size(), 2u);
    // Exporting again from a copy keeps the copy's name.
    ASSERT_TRUE(writeFileAtomically(dir.path(red).string(), "red", error));
    EXPECT_EQ(textureCopyName(out, dir.path(red).string()), red);
}

TEST(ObjWriter, FileNamesFollowTheChosenName) {
    const ObjPaths withObj = objExportPaths("/tmp/out/flower.obj");
    EXPECT_EQ(withObj.obj, "/tmp/out/flower.obj");
    EXPECT_EQ(withObj.mtl, "/tmp/out/flower.mtl");
    EXPECT_EQ(withObj.mtllib, "flower.mtl");
    const ObjPaths bare = objExportPaths("/tmp/out/flower");
    EXPECT_EQ(bare.obj, "/tmp/out/flower.obj");
    EXPECT_EQ(bare.mtl, "/tmp/out/flower.mtl");
    EXPECT_EQ(bare.mtllib, "flower.mtl");
    // The "mtllib" line names the MTL file actually written beside the OBJ file.
    const ObjPaths text = objExportPaths("/tmp/out/flower.txt");
    EXPECT_EQ(text.obj, "/tmp/out/flower.txt.obj");
    EXPECT_EQ(text.mtl, "/tmp/out/flower.txt.mtl");
    EXPECT_EQ(text.mtllib, "flower.txt.mtl");
}

// A scene's export once wrote nothing but the material library line and reported
// success; it holds every plant at its place in the scene.
TEST(ObjWriter, ASceneExportsEveryPlantWhereItStands) {
    WorkingDirectory dir;
    OwnModelRecords records;
    SceneRoot scene(records.nextId());
    auto plant = std::make_unique<FlowerObjectComposite>(records.nextId());
    plant->appendAlongAxis(samples::stem(records.records()), samples::line({0, 0, 0}, {0, 1, 0}),
                           {0, 0, 1});
    const int stemId = plant->segments[0].node->id;
    scene.plants.push_back({std::move(plant), Matrix4::translation({5, 0, 0})});
    std::string error;
    ASSERT_TRUE(exportObjFiles(scene, dir.path("scene").string(), false, nullptr, error)) << error;
    const std::string obj = readFile(dir.path("scene.obj"));
    EXPECT_NE(obj.find("usemtl pistil" + std::to_string(stemId) + "\n"), std::string::npos);
    for (const std::string& line : lines(obj)) {
        if (line.rfind("v ", 0) == 0) {
            EXPECT_GT(std::stod(line.substr(2)), 4.0) << line;
        }
    }
}

// The OBJ file, the MTL file and the image copies stand or fall together.
TEST(ObjWriter, AFailedExportLeavesTheEarlierFilesAsTheyWere) {
    WorkingDirectory dir;
    OwnModelRecords records;
    FakeTextureCache textures;
    const std::string image = dir.path("bark.bmp").string();
    std::string error;
    ASSERT_TRUE(writeFileAtomically(image, "bark", error));
    const auto stem = samples::stem(records.records());
    stem->setTexture(true, textures.load(image), -1);
    std::filesystem::create_directories(dir.path("out"));
    const std::string chosen = dir.path("out/stem").string();
    ASSERT_TRUE(exportObjFiles(*stem, chosen, false, &textures, error)) << error;
    const std::string obj = readFile(dir.path("out/stem.obj"));

    SceneRoot scene(2);
    EXPECT_FALSE(exportObjFiles(scene, "/nonexistent-dir/flower", false, &textures, error));
    EXPECT_NE(error.find("cannot write /nonexistent-dir/flower.obj"), std::string::npos) << error;

    // A copy that cannot be written: its temporary's place is taken by a folder.
    ObjExport probe;
    const std::string copy = textureCopyName(probe, image);
    std::filesystem::remove(dir.path("out") / copy);
    std::filesystem::create_directories(dir.path("out") / (copy + ".part"));
    EXPECT_FALSE(exportObjFiles(*stem, chosen, true, &textures, error));
    EXPECT_NE(error.find("cannot write " + (dir.path("out") / copy).string()), std::string::npos)
        << error;
    EXPECT_EQ(readFile(dir.path("out/stem.obj")), obj);
    EXPECT_FALSE(std::filesystem::exists(dir.path("out/stem.obj.part")));

    // An image gone since it was loaded.
    std::filesystem::remove(image);
    EXPECT_FALSE(exportObjFiles(*stem, chosen, false, &textures, error));
    EXPECT_NE(error.find(image), std::string::npos) << error;
    EXPECT_EQ(readFile(dir.path("out/stem.obj")), obj);
}
