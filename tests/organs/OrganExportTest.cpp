#include "organs/OrganExport.h"

#include "model/AxisNode.h"
#include "model/ObjExport.h"
#include "model/TextureCache.h"
#include "organs/FakeTextureCache.h"
#include "organs/StemShape.h"
#include "support/TextLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

long countPrefix(const std::vector<std::string>& all, const std::string& prefix) {
    return std::count_if(all.begin(), all.end(),
                         [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

struct TubeOrgan {
    AxisNode node{7};
    StemShape tube;
    TubeOrgan() {
        Stroke axis;
        axis.add({0, 0, 0});
        axis.add({0, 1, 0});
        tube.buildTube(axis, 1.0, 0.1, 0.05, 3, 4);
        node.diffuse = {0.5f, 0.25f, 0.125f, 1.0f};
    }
};

} // namespace

TEST(OrganExport, TubeWritesItsMaterialOnceAndAFrontAndABackGroup) {
    FakeTextureCache textures;
    const int texture = textures.load("C:\\maps\\bark.bmp");
    TubeOrgan organ;
    organ.node.setTexture(true, texture, -1);

    ObjExport out;
    out.textureCache = &textures;
    EXPECT_EQ(exportTube(out, Matrix4(), 5, organ.tube, "pistil", organ.node), 5 + 2 * 12);

    const auto m = lines(out.mtl.str());
    ASSERT_EQ(countPrefix(m, "newmtl pistil7"), 1);
    EXPECT_EQ(m[0], "newmtl pistil7");
    EXPECT_EQ(m[2], "Kd 0.500000 0.250000 0.125000");
    // The image is the colour map only, never a specular one.
    EXPECT_EQ(m[5], "map_Kd bark.bmp");
    EXPECT_EQ(m[6], "");
    EXPECT_EQ(countPrefix(m, "map_"), 1);

    const auto o = lines(out.obj.str());
    ASSERT_EQ(o[0], "g stemFront_0_7");
    EXPECT_EQ(o[1], "usemtl pistil7");
    EXPECT_EQ(countPrefix(o, "v "), 24);
    // Each group's faces start from the vertex count before it.
    const size_t frontFaces = 2 + 3 * 12;
    EXPECT_EQ(o[frontFaces], "f 6/6/6 11/11/11 10/10/10");
    const size_t back = frontFaces + 2 * 2 * 3;
    ASSERT_EQ(o[back], "g stemBack_0_7");
    EXPECT_EQ(o[back + 1], "usemtl pistil7");
    EXPECT_EQ(o[back + 2 + 3 * 12], "f 18/18/18 22/22/22 23/23/23");
}

TEST(OrganExport, TexturesTheCacheDoesNotKnowAreLeftOut) {
    FakeTextureCache textures;
    TubeOrgan organ;
    organ.node.setTexture(true, 3, -1);
    ObjExport out;
    out.textureCache = &textures;
    writeNodeMaterial(out, organMaterialName("torus", 7), organ.node, organ.node.textureFront);
    EXPECT_EQ(countPrefix(lines(out.mtl.str()), "map_"), 0);
    EXPECT_TRUE(out.textures.empty());
}

TEST(OrganExport, EmptyTubeWritesEmptyGroupsAndKeepsTheCount) {
    ObjExport out;
    EXPECT_EQ(writeTubeGroups(out, StemShape(), 1, 9, "stamenAnther9", Matrix4(), 40), 40);
    EXPECT_EQ(out.obj.str(),
              "g stemFront_1_9\nusemtl stamenAnther9\ng stemBack_1_9\nusemtl stamenAnther9\n");
}
