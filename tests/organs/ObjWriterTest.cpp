#include "organs/ObjWriter.h"
#include "math/TextWriter.h"
#include "model/ModelContext.h"
#include "model/SceneRoot.h"
#include "support/TextLines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// A flat rows x columns sheet with normals along +z and texture coordinates.
struct Sheet {
    Grid positions, normals, texCoords;
    Sheet(int rows, int columns)
        : positions(rows, columns), normals(rows, columns), texCoords(rows, columns) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                positions.at(r, c) = {c * 0.1, r * 0.1, 0};
                normals.at(r, c) = {0, 0, 1};
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

TEST(ObjWriter, FlipNegatesNormalsAndReversesTheWinding) {
    const Sheet sheet(2, 2);
    TextWriter obj;
    writeGrid(obj, sheet.positions, sheet.normals, sheet.texCoords, Matrix4(), true, 10);
    const auto all = lines(obj.str());
    EXPECT_EQ(all[4], "vn -0.000000 -0.000000 -1.000000");
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

TEST(ObjWriter, MaterialNamesTheTextureFileOnly) {
    TextWriter mtl;
    writeMaterial(mtl, "petalFront7", {0.1f, 0.2f, 0.3f, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}, 128, true,
                  "/home/me/textures/rose.bmp");
    EXPECT_EQ(mtl.str(), "newmtl petalFront7\nKa 0.100000 0.200000 0.300000\nKd 1.000000 1.000000 "
                         "1.000000\nKs 0.000000 0.000000 0.000000\nNs 128.000000\nmap_Kd rose.bmp\n"
                         "map_Ks rose.bmp\n\n");
    EXPECT_EQ(textureFileName("C:\\tex\\leaf.bmp"), "leaf.bmp");
    EXPECT_EQ(textureFileName("leaf.bmp"), "leaf.bmp");
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
    const ObjPaths text = objExportPaths("/tmp/out/flower.txt");
    EXPECT_EQ(text.obj, "/tmp/out/flower.txt.obj");
    EXPECT_EQ(text.mtl, "/tmp/out/flower.txt.mtl");
    EXPECT_EQ(text.mtllib, "flower.mtl");
}

TEST(ObjWriter, ASceneExportsOnlyTheMaterialLibraryLine) {
    const auto dir = std::filesystem::temp_directory_path() / "pelmora-obj-test";
    std::filesystem::create_directories(dir);
    SceneRoot scene(1);
    std::string error;
    ASSERT_TRUE(exportObjFiles(scene, (dir / "scene").string(), error)) << error;
    EXPECT_EQ(readFile(dir / "scene.obj"), "mtllib scene.mtl\n");
    EXPECT_EQ(readFile(dir / "scene.mtl"), "");
    std::filesystem::remove_all(dir);
}

TEST(ObjWriter, AnUnwritableExportReportsAndKeepsTheOldFile) {
    SceneRoot scene(1);
    std::string error;
    EXPECT_FALSE(exportObjFiles(scene, "/nonexistent-dir/flower", error));
    EXPECT_NE(error.find("/nonexistent-dir/flower.obj"), std::string::npos);
}
