#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/FlowerObjectNode.h"
#include "model/NodeRecord.h"
#include "model/ReadContext.h"
#include "model/RecordBlocks.h"
#include "model/TextureCache.h"

#include <gtest/gtest.h>

#include "model/AxisNode.h"
#include "support/ModelRecords.h"
#include "support/PathOnlyTextures.h"

#include <map>

namespace {

// Every image loads but the one named missing.
PathOnlyTextures namedTextures() {
    return PathOnlyTextures([](const std::string& path) { return !path.ends_with("missing.bmp"); });
}

} // namespace

TEST(FlowerObjectNode, SetMaterialKeepsEveryAlphaAtPointFour) {
    AxisNode node(1);
    node.setMaterial({0.1f, 0.2f, 0.3f, 1.0f}, {0.4f, 0.5f, 0.6f, 0.0f}, {0.7f, 0.8f, 0.9f, 0.9f},
                     64);
    EXPECT_EQ(node.diffuse, (Rgba{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(node.specular, (Rgba{0.4f, 0.5f, 0.6f, 0.4f}));
    EXPECT_EQ(node.ambient, (Rgba{0.7f, 0.8f, 0.9f, 0.4f}));
    EXPECT_EQ(node.shininess, 64.0f);
}

TEST(FlowerObjectNode, StartsWithTheBaseMaterialAndNoTexture) {
    AxisNode node(3);
    EXPECT_EQ(node.diffuse, (Rgba{0, 0, 0, 0.4f}));
    EXPECT_FALSE(node.hasTexture);
    EXPECT_EQ(node.textureFront, -1);
    EXPECT_EQ(node.textureBack, -1);
    EXPECT_EQ(node.mainAxis.color, (Rgba{0, 0, 1, 0.5f}));
}

TEST(NodeRecord, KeywordsFollowTheKind) {
    EXPECT_STREQ(recordKeyword(AxisNode(1, kKindPistil)), "Pistil");
    EXPECT_STREQ(recordKeyword(AxisNode(1, kKindStamen)), "Stamen");
    EXPECT_STREQ(recordKeyword(AxisNode(1, kKindPetal)), "Petal");
    EXPECT_STREQ(recordKeyword(AxisNode(1, kKindStem)), "Stem");
    EXPECT_STREQ(recordKeyword(AxisNode(1, kKindTorus)), "Torus");
    EXPECT_STREQ(recordKeyword(AxisNode(1, kKindSketch)), "Sketch");
    EXPECT_STREQ(recordKeyword(AxisNode(1, kKindComposite)), "Composit");
}

TEST(NodeRecord, TypedRecordRoundTrips) {
    OwnModelRecords records;
    AxisNode node(42);
    node.mainAxis.points = {{0, 0, 0}, {0, 0.5, 0.25}};
    node.setMaterial({1, 0.5f, 0, 1}, {0, 0, 0, 1}, {0.2f, 0.2f, 0.2f, 1}, 128);
    TextWriter out;
    writeTypedRecord(out, node, WriteContext{});
    EXPECT_EQ(out.str().substr(0, 9), "Stem 42\n\n");
    EXPECT_NE(out.str().find("textureFront NON\ntextureBack NON\nmainAxis 2\n0 0.000000 0.000000 "
                             "0.000000\n1 0.000000 0.500000 0.250000\nend 42\n\n"),
              std::string::npos);

    TextReader in(out.str());
    const RecordReaderTable readers = axisReaders();
    const ReadContext context = records.reading();
    RecordInput input{in, readers, context};
    const auto back = readTypedRecord(input);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->id, 1); // ids come from the counter, not from the file
    EXPECT_EQ(back->mainAxis.points, node.mainAxis.points);
    EXPECT_EQ(back->diffuse, node.diffuse);
    EXPECT_EQ(back->shininess, 128.0f);
}

TEST(NodeRecord, MismatchedEndOrUnknownKeywordGivesNoNode) {
    const RecordReaderTable readers = axisReaders();
    OwnModelRecords records;
    const ReadContext context = records.reading();
    TextWriter out;
    AxisNode node(5);
    writeTypedRecord(out, node, WriteContext{});
    std::string text = out.str();
    text.replace(text.rfind("end 5"), 5, "end 6");
    TextReader wrongEnd(text);
    RecordInput input{wrongEnd, readers, context};
    EXPECT_EQ(readTypedRecord(input), nullptr);
    EXPECT_TRUE(wrongEnd.ok()); // the caller decides what a bad envelope means

    TextReader unknown("Flower 3\n\nend 3\n");
    RecordInput unknownInput{unknown, readers, context};
    EXPECT_EQ(readTypedRecord(unknownInput), nullptr);
    EXPECT_NE(unknown.error().find("unknown record keyword 'Flower'"), std::string::npos);
}

TEST(NodeRecord, NestingDepthIsBounded) {
    const RecordReaderTable readers = axisReaders();
    TextReader in("Stem 1\n");
    OwnModelRecords records;
    const ReadContext context = records.reading();
    RecordInput input{in, readers, context, RecordInput::kMaxDepth};
    EXPECT_EQ(readTypedRecord(input), nullptr);
    EXPECT_NE(in.error().find("nested too deeply"), std::string::npos);
}

TEST(RecordBlocks, TexturesAreNamedAndLoadedBack) {
    PathOnlyTextures textures = namedTextures();
    const WriteContext writing{&textures, {}};
    OwnModelRecords records;
    const ReadContext reading = records.reading(&textures);
    AxisNode node(1);
    const int front = textures.load("leaf front.bmp");
    const int back = textures.load("dir/back.bmp");
    node.setTexture(true, front, back);
    TextWriter out;
    writeTextureBlock(out, node, writing);
    EXPECT_EQ(out.str(), "textureFront leaf front.bmp\ntextureBack dir/back.bmp\n");

    TextReader in(out.str());
    AxisNode read(2);
    ASSERT_TRUE(readTextureBlock(in, reading, read));
    EXPECT_TRUE(read.hasTexture);
    EXPECT_EQ(read.textureFront, 0); // the first texture has index 0 and still counts
    EXPECT_EQ(read.textureBack, 1);

    TextReader none("textureFront NON\ntextureBack missing.bmp\n");
    AxisNode untextured(3);
    ASSERT_TRUE(readTextureBlock(none, reading, untextured));
    EXPECT_FALSE(untextured.hasTexture);
    EXPECT_EQ(untextured.textureFront, -1);
    EXPECT_EQ(untextured.textureBack, -1);
}

TEST(RecordBlocks, UntexturedOrUnknownTexturesAreWrittenAsNon) {
    PathOnlyTextures textures = namedTextures();
    const WriteContext writing{&textures, {}};
    AxisNode node(1);
    node.setTexture(false, textures.load("a.bmp"), -1);
    TextWriter out;
    writeTextureBlock(out, node, writing);
    EXPECT_EQ(out.str(), "textureFront NON\ntextureBack NON\n");
    node.setTexture(true, 0, 7);
    TextWriter unknown;
    writeTextureBlock(unknown, node, writing);
    EXPECT_EQ(unknown.str(), "textureFront a.bmp\ntextureBack NON\n");
}

// A library whose images are missing (or cannot be loaded, or are read without a
// texture cache) used to be saved with NON in their place, losing the names.
TEST(RecordBlocks, ImagesThatCannotBeLoadedKeepTheirNamesWhenWrittenAgain) {
    PathOnlyTextures textures = namedTextures();
    OwnModelRecords records;
    const std::string text = "textureFront missing.bmp\ntextureBack leaf.bmp\n";
    for (TextureCache* cache : std::vector<TextureCache*>{&textures, nullptr}) {
        ReadContext reading = records.reading(cache);
        reading.libraryFolder = "/plants";
        TextReader in(text);
        AxisNode node(1);
        ASSERT_TRUE(readTextureBlock(in, reading, node));
        EXPECT_EQ(node.textureFront, -1);
        EXPECT_EQ(node.unloadedFront, "/plants/missing.bmp");

        TextWriter again;
        writeTextureBlock(again, node, WriteContext{cache, "/plants"});
        EXPECT_EQ(again.str(), text) << (cache ? "with" : "without") << " a texture cache";
        // A copy keeps the names; choosing textures anew forgets them.
        AxisNode copy(2);
        copy.copyMaterialAndTextureFrom(node);
        EXPECT_EQ(copy.unloadedFront, node.unloadedFront);
        node.setTexture(false, -1, -1);
        TextWriter chosen;
        writeTextureBlock(chosen, node, WriteContext{cache, "/plants"});
        EXPECT_EQ(chosen.str(), "textureFront NON\ntextureBack NON\n");
    }
}

TEST(RecordBlocks, PointListRejectsHostileCounts) {
    PointList points;
    TextReader negative("mainAxis -3\n");
    EXPECT_FALSE(readPointList(negative, points));
    TextReader huge("mainAxis 2000000000\n0 0 0 0\n");
    EXPECT_FALSE(readPointList(huge, points));
    EXPECT_TRUE(points.empty());
    TextReader truncated("mainAxis 2\n0 1 2 3\n1 4 5");
    EXPECT_FALSE(readPointList(truncated, points));
}

TEST(RecordBlocks, ColourBlockKeepsAlphasAsWritten) {
    TextWriter out;
    writeColourBlock(out, {0.1f, 0.2f, 0.3f, 1}, {0, 0, 0, 0.5f}, {1, 1, 1, 0}, 12.5f);
    EXPECT_EQ(out.str(), "diffuse 0.100000 0.200000 0.300000 1.000000\nspecular 0.000000 0.000000 "
                         "0.000000 0.500000\nambient 1.000000 1.000000 1.000000 0.000000\n"
                         "shininess 12.500000\n");
    TextReader in(out.str());
    MaterialBlock block;
    ASSERT_TRUE(readColourBlock(in, block));
    EXPECT_EQ(block.specular.a, 0.5f);
    EXPECT_EQ(block.shininess, 12.5f);
}
