#include "organs/FlowerPetalNode.h"

#include "interaction/PetalStrokes.h"
#include "library/LibraryReaders.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"
#include "model/NodeRecord.h"
#include "model/ObjExport.h"
#include "model/ReadContext.h"

#include <gtest/gtest.h>

#include "organs/FakeTextureCache.h"
#include "support/HandDrawnPetal.h"
#include "support/TextLines.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

class FlowerPetalNodeTest : public testing::Test {
protected:
    // A petal sketched by hand, placed `offset` away in its own frame.
    std::unique_ptr<FlowerPetalNode> sketched(std::uint32_t seed, Vector3 offset = {}) {
        PenNoise noise(seed);
        const PetalSketch sketch = drawPetal(noise);
        PetalStrokes strokes;
        EXPECT_TRUE(
            makePetalStrokes(sketch.strokes[0], sketch.strokes[1], sketch.strokes[2], strokes));
        for (Stroke* s : {&strokes.left, &strokes.middle, &strokes.right})
            s->translate(offset);
        return std::make_unique<FlowerPetalNode>(ids.nextId(), strokes.left, strokes.middle,
                                                 strokes.right, values);
    }

    static void expectAxisOnMidrib(const FlowerPetalNode& petal) {
        const PetalControlPointManager& net = petal.controlPoints();
        ASSERT_EQ(petal.mainAxis.size(), net.rowCount());
        for (int k = 0; k < net.rowCount(); ++k)
            EXPECT_EQ(petal.mainAxis.points[static_cast<size_t>(k)], net.midribPoint(k));
    }

    std::string saved(const FlowerObjectNode& node) const {
        TextWriter out;
        node.save(out, WriteContext{&textures, {}});
        return out.take();
    }

    std::unique_ptr<FlowerObjectNode> read(const std::string& text, bool* ok = nullptr) {
        TextReader in(text);
        const ReadContext context{ids, values, &textures, {}};
        RecordInput input{in, libraryReaders(), context};
        std::unique_ptr<FlowerObjectNode> node = readPetal(input);
        if (ok)
            *ok = in.ok();
        return node;
    }

    IdCounter ids;
    Parameters values;
    FakeTextureCache textures;
};

} // namespace

TEST_F(FlowerPetalNodeTest, SketchedPetalTakesItsMaterialAndTheCurrentResolutions) {
    values.petal = {14, 9};
    const auto petal = sketched(1);
    EXPECT_EQ(petal->id, 1);
    EXPECT_EQ(petal->kind, kKindPetal);
    EXPECT_EQ(petal->diffuse, (Rgba{0.8f, 0.7f, 0.5f, 0.5f}));
    EXPECT_EQ(petal->specular, (Rgba{0.1f, 0.1f, 0.1f, 0.5f}));
    EXPECT_EQ(petal->ambient, (Rgba{0.4f, 0.35f, 0.25f, 0.5f}));
    EXPECT_EQ(petal->shininess, 128.0f);
    EXPECT_FALSE(petal->hasTexture);
    EXPECT_EQ(petal->m_resVert, 14);
    EXPECT_EQ(petal->m_resHori, 9);
    EXPECT_EQ(petal->shape().rows(), 14);
    EXPECT_EQ(petal->shape().columns(), 9);
    EXPECT_EQ(petal->controlPoints().rowCount(), 8);
    EXPECT_EQ(petal->controlPoints().columnCount(), 11);
    expectAxisOnMidrib(*petal);
    EXPECT_TRUE(petal->strokes.empty());
}

TEST_F(FlowerPetalNodeTest, DraggingTheTipRebuildsAndKeepsTheBase) {
    const auto petal = sketched(2);
    const PetalControlPointManager before = petal->controlPoints();
    const int tip = before.tipRow();
    const int c = before.midribColumn();
    const Vector3 oldTip = before.midribPoint(tip);
    petal->editByPick(tip, c, {oldTip.x, 2 * oldTip.y, oldTip.z}, values);
    const PetalControlPointManager& net = petal->controlPoints();
    for (int r = 0; r < net.rowCount(); ++r)
        for (int k = 0; k < net.columnCount(); ++k)
            EXPECT_EQ(net.pointAt(r, k), before.pointAt(r, k) * 2.0);
    const Grid& right = petal->shape().positions(PetalHalf::Right);
    EXPECT_NEAR(distance(right.at(right.rows() - 1, 0), net.midribPoint(tip)), 0.0, 1e-12);
    EXPECT_NEAR(distance(right.at(0, 0), net.midribPoint(0)), 0.0, 1e-12);
    expectAxisOnMidrib(*petal);
}

TEST_F(FlowerPetalNodeTest, DraggingAnInnerPointResamplesAndMovesTheAxis) {
    const auto petal = sketched(3);
    const Grid shapeBefore = petal->shape().positions(PetalHalf::Left);
    const Grid texture = petal->shape().texCoords(PetalHalf::Left);
    const int c = petal->controlPoints().midribColumn();
    const Vector3 moved = petal->controlPoints().midribPoint(3) + Vector3(0.05, 0, 0.1);
    petal->editByPick(3, c, moved, values);
    EXPECT_EQ(petal->controlPoints().midribPoint(3), moved);
    EXPECT_EQ(petal->mainAxis.points[3], moved);
    EXPECT_NE(petal->shape().positions(PetalHalf::Left), shapeBefore);
    EXPECT_EQ(petal->shape().texCoords(PetalHalf::Left), texture);

    // The base row and points outside the net are left alone.
    const PetalControlPointManager net = petal->controlPoints();
    const Grid shape = petal->shape().positions(PetalHalf::Right);
    petal->editByPick(0, c, {1, 1, 1}, values);
    petal->editByPick(3, 40, {1, 1, 1}, values);
    petal->editByPick(-1, 0, {1, 1, 1}, values);
    EXPECT_EQ(petal->controlPoints().points(), net.points());
    EXPECT_EQ(petal->shape().positions(PetalHalf::Right), shape);
}

TEST_F(FlowerPetalNodeTest, ReSketchingTheAxisScalesAndCarriesTheNet) {
    const auto petal = sketched(4);
    const PetalControlPointManager before = petal->controlPoints();
    const double oldLength = petal->mainAxis.length();

    petal->reshapeByStroke(Stroke({{0, 0, 0}, {0.4, 1, 0}}));
    EXPECT_EQ(petal->controlPoints().points(), before.points());

    const Stroke stroke({{0, 0, 0}, {0.3, 0.8, 0.1}, {0.2, 1.6, 0.3}});
    petal->reshapeByStroke(stroke);
    Stroke expected = stroke;
    expected.resampleInPlace(before.rowCount() - 1);
    ASSERT_EQ(petal->mainAxis.size(), before.rowCount());
    for (int k = 0; k < before.rowCount(); ++k)
        EXPECT_NEAR(distance(petal->mainAxis.points[k], expected.points[k]), 0.0, 1e-12);
    expectAxisOnMidrib(*petal);
    // Each row keeps its shape, scaled by the ratio of the axis lengths.
    const double ratio = expected.length() / oldLength;
    const PetalControlPointManager& net = petal->controlPoints();
    for (int r = 1; r < net.tipRow(); ++r)
        EXPECT_NEAR(distance(net.pointAt(r, 0), net.midribPoint(r)),
                    ratio * distance(before.pointAt(r, 0), before.midribPoint(r)), 1e-12);
}

TEST_F(FlowerPetalNodeTest, ReSketchingAnAxisWithoutLengthMovesTheNetWithoutScaling) {
    // A net whose rows all sit on one point has no length to scale from.
    FlowerPetalNode petal(ids.nextId());
    petal.setControlPoints(PetalControlPointManager(Grid(3, 3)));
    petal.rebuildShape();
    petal.reshapeByStroke(Stroke({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}));
    const PetalControlPointManager& net = petal.controlPoints();
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(net.pointAt(r, k), Vector3(0, r, 0));
    for (const Vector3& p : petal.shape().positions(PetalHalf::Right).cells())
        EXPECT_TRUE(std::isfinite(p.y));
}

TEST_F(FlowerPetalNodeTest, ScalingIsAboutTheBase) {
    const auto petal = sketched(5, {0.5, 0.2, 0});
    const PetalControlPointManager before = petal->controlPoints();
    const Vector3 base = before.pointAt(0, 0);
    petal->scale(1.5);
    const PetalControlPointManager& net = petal->controlPoints();
    for (int r = 0; r < net.rowCount(); ++r)
        for (int k = 0; k < net.columnCount(); ++k)
            EXPECT_EQ(net.pointAt(r, k), base + (before.pointAt(r, k) - base) * 1.5);
    expectAxisOnMidrib(*petal);
    const Grid& left = petal->shape().positions(PetalHalf::Left);
    EXPECT_NEAR(distance(left.at(left.rows() - 1, 3), net.midribPoint(net.tipRow())), 0, 1e-12);
}

TEST_F(FlowerPetalNodeTest, ClonesAreIndependent) {
    auto petal = sketched(6);
    petal->setTexture(true, textures.load("front.bmp"), -1);
    const std::unique_ptr<FlowerObjectNode> copy = petal->clone(ids);
    auto& clone = dynamic_cast<FlowerPetalNode&>(*copy);
    EXPECT_NE(clone.id, petal->id);
    EXPECT_EQ(clone.controlPoints().points(), petal->controlPoints().points());
    for (const PetalHalf half : {PetalHalf::Left, PetalHalf::Right}) {
        EXPECT_EQ(clone.shape().positions(half), petal->shape().positions(half));
        EXPECT_EQ(clone.shape().normals(half), petal->shape().normals(half));
        EXPECT_EQ(clone.shape().texCoords(half), petal->shape().texCoords(half));
    }
    // The copy's material goes through the base setter, which sets every alpha to 0.4.
    EXPECT_EQ(clone.diffuse, (Rgba{0.8f, 0.7f, 0.5f, 0.4f}));
    EXPECT_EQ(clone.shininess, 128.0f);
    EXPECT_TRUE(clone.hasTexture);
    EXPECT_EQ(clone.textureFront, 0);
    EXPECT_EQ(clone.textureBack, -1);
    EXPECT_EQ(clone.m_resVert, petal->m_resVert);
    EXPECT_EQ(clone.m_resHori, petal->m_resHori);
    expectAxisOnMidrib(clone);

    const Grid original = petal->controlPoints().points();
    const Grid originalShape = petal->shape().positions(PetalHalf::Left);
    clone.editByPick(2, 1, {3, 3, 3}, values);
    clone.scale(0.5);
    EXPECT_EQ(petal->controlPoints().points(), original);
    EXPECT_EQ(petal->shape().positions(PetalHalf::Left), originalShape);
}

TEST_F(FlowerPetalNodeTest, BoundingBoxAlwaysHoldsTheOrigin) {
    const auto petal = sketched(7, {3, 1, 0});
    Vector3 min, max;
    petal->boundingBox(min, max, Matrix4(), true);
    EXPECT_EQ(min.x, 0.0);
    EXPECT_EQ(min.y, 0.0);
    double right = 0.0;
    for (const Vector3& p : petal->controlPoints().points().cells())
        right = std::max(right, p.x);
    EXPECT_EQ(max.x, right);
    petal->boundingBox(min, max, Matrix4::translation({0, 0, 2}), true);
    EXPECT_EQ(min.z, 0.0);
    EXPECT_EQ(max.z, 2.0);
}

TEST_F(FlowerPetalNodeTest, RecordReadsBackToTheSameText) {
    const auto petal = sketched(8);
    petal->m_resVert = 12;
    petal->m_resHori = 7;
    const std::string text = saved(*petal);
    const std::vector<std::string> all = lines(text);
    EXPECT_EQ(all[0], "color");
    EXPECT_EQ(all[1], "diffuse 0.800000 0.700000 0.500000 0.500000");
    EXPECT_EQ(all[4], "shininess 128.000000");
    EXPECT_EQ(all[5], "textureFront NON");
    EXPECT_EQ(all[6], "textureBack NON");
    EXPECT_EQ(all[7], "controlPoints 8 11 ");
    EXPECT_EQ(all[8].substr(0, 4), "0 0 ");
    EXPECT_EQ(all[8 + 88 - 1].substr(0, 5), "7 10 ");
    EXPECT_EQ(all.back().substr(all.back().find("m_resVert")), "m_resVert 12m_resHori 7");

    const std::unique_ptr<FlowerObjectNode> node = read(text);
    ASSERT_TRUE(node);
    auto& copy = dynamic_cast<FlowerPetalNode&>(*node);
    EXPECT_NE(copy.id, petal->id);
    // Only the alphas change: reading sets the material through the base setter.
    const std::vector<std::string> reread = lines(saved(copy));
    EXPECT_EQ(reread[1], "diffuse 0.800000 0.700000 0.500000 0.400000");
    EXPECT_EQ(std::vector<std::string>(reread.begin() + 4, reread.end()),
              std::vector<std::string>(all.begin() + 4, all.end()));
    EXPECT_EQ(copy.diffuse, (Rgba{0.8f, 0.7f, 0.5f, 0.4f}));
    EXPECT_EQ(copy.ambient.a, 0.4f);
    EXPECT_FALSE(copy.hasTexture);
    EXPECT_EQ(copy.textureFront, -1);
    EXPECT_EQ(copy.textureBack, -1);
    EXPECT_EQ(copy.m_resVert, 12);
    EXPECT_EQ(copy.m_resHori, 7);
    EXPECT_EQ(copy.shape().rows(), 12);
    expectAxisOnMidrib(copy);
    for (int r = 0; r < 8; ++r)
        for (int k = 0; k < 11; ++k)
            EXPECT_NEAR(
                distance(copy.controlPoints().pointAt(r, k), petal->controlPoints().pointAt(r, k)),
                0.0, 1e-6);
    // Once read, the record is stable: writing, reading and writing again agree.
    const std::unique_ptr<FlowerObjectNode> again = read(saved(copy));
    ASSERT_TRUE(again);
    EXPECT_EQ(saved(*again), saved(copy));
}

TEST_F(FlowerPetalNodeTest, TypedRecordsRunTheResolutionsIntoTheEndLine) {
    auto petal = sketched(9);
    const int front = textures.load("dir/front.bmp");
    petal->setTexture(true, front, textures.load("back.bmp"));
    TextWriter out;
    writeTypedRecord(out, *petal, WriteContext{&textures, {}});
    EXPECT_NE(out.str().find("m_resVert 20m_resHori 20end 1\n"), std::string::npos);
    TextReader in(out.str());
    const ReadContext context{ids, values, &textures, {}};
    RecordInput input{in, libraryReaders(), context};
    const std::unique_ptr<FlowerObjectNode> node = readTypedRecord(input);
    ASSERT_TRUE(node) << in.error();
    EXPECT_EQ(node->kind, kKindPetal);
    EXPECT_TRUE(node->hasTexture);
    EXPECT_EQ(textures.path(node->textureFront), "dir/front.bmp");
    EXPECT_EQ(textures.path(node->textureBack), "back.bmp");
    EXPECT_TRUE(in.atEnd());
}

TEST_F(FlowerPetalNodeTest, ReaderRejectsNetsThatCannotBeIndexed) {
    const std::string head = "color\ndiffuse 1 1 1 1\nspecular 1 1 1 1\nambient 1 1 1 1\n"
                             "shininess 5\ntextureFront NON\ntextureBack NON\n";
    // A record whose heading names rows x columns and which lists `listed` rows.
    const auto record = [&](int rows, int columns, int listed, const std::string& tail) {
        std::string s =
            head + "controlPoints " + std::to_string(rows) + " " + std::to_string(columns) + " \n";
        for (int r = 0; r < listed; ++r)
            for (int k = 0; k < columns; ++k)
                s += std::to_string(r) + " " + std::to_string(k) + " 0 0 0\n";
        return s + tail;
    };
    bool ok = true;
    const std::string resolutions = "m_resVert 5m_resHori 5";
    ASSERT_TRUE(read(record(3, 3, 3, resolutions), &ok));
    EXPECT_TRUE(ok);
    // A net of one row and one column is odd and positive, and can be indexed.
    EXPECT_TRUE(read(record(1, 1, 1, resolutions)));
    // Resolutions outside the parameters' range are brought into it.
    const auto clamped = read(record(3, 3, 3, "m_resVert 1000000m_resHori 1"));
    ASSERT_TRUE(clamped);
    EXPECT_EQ(dynamic_cast<FlowerPetalNode&>(*clamped).m_resVert, 100);
    EXPECT_EQ(dynamic_cast<FlowerPetalNode&>(*clamped).m_resHori, 3);

    for (const std::string& bad :
         {record(0, 3, 0, resolutions), record(3, 0, 3, resolutions), record(3, 4, 3, resolutions),
          record(-3, -3, 0, resolutions), record(3, 3, 2, resolutions),
          record(3, 3, 3, "m_resVert 5"), record(3, 3, 3, "m_resVert 5m_resHori x"),
          head + "controlPoints 100000 100001 \n0 0 0 0 0\n"}) {
        SCOPED_TRACE(bad.substr(head.size()));
        EXPECT_FALSE(read(bad, &ok));
        EXPECT_FALSE(ok);
    }
}

TEST_F(FlowerPetalNodeTest, ExportWritesEachMaterialOnceAndFourGroups) {
    values.petal = {6, 5};
    auto petal = sketched(10);
    petal->setTexture(true, textures.load("C:\\maps\\front.bmp"), 17);
    ObjExport out;
    out.textureCache = &textures;
    EXPECT_EQ(petal->exportObj(out, Matrix4(), 30), 30 + 4 * 6 * 5);
    const std::vector<std::string> materials = lines(out.mtl.str());
    const std::vector<std::string> expected = {"newmtl petalFront1",
                                               "Ka 0.400000 0.350000 0.250000",
                                               "Kd 0.800000 0.700000 0.500000",
                                               "Ks 0.100000 0.100000 0.100000",
                                               "Ns 128.000000",
                                               "map_Kd front.bmp",
                                               "",
                                               "newmtl petalBack1"};
    ASSERT_GE(materials.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(materials.begin(), materials.begin() + 8), expected);
    EXPECT_EQ(materials[12], ""); // the back texture is unknown: no maps
    EXPECT_EQ(materials.size(), 13u);
    EXPECT_EQ(out.obj.str().substr(0, 38), "g petalRightFront_1\nusemtl petalFront1");
    EXPECT_NE(out.obj.str().find("f 31/31/31 37/37/37 36/36/36\n"), std::string::npos);
}
