#include "organs/FlowerSketchNode.h"

#include "model/IdCounter.h"
#include "model/ObjExport.h"
#include "organs/OrganRecordSupport.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

Stroke coloured(const Vector3& from, const Vector3& to, const Rgba& colour) {
    Stroke s = straightStroke(from, to, 7);
    s.color = colour;
    return s;
}

} // namespace

TEST(FlowerSketchNode, StrokesAreResampledAndWidenARectangleFromTheOrigin) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kFlower);
    EXPECT_EQ(sketch.kind, kKindSketch);
    EXPECT_EQ(sketch.sketchType(), 1);
    const Stroke first = coloured({1, 1, 0}, {2, 3, 0}, {1, 0, 0, 1});
    sketch.addStroke(first);
    sketch.addStroke(coloured({1.5, 0.5, 0}, {4, 2, 0}, {0, 1, 0, 1}));
    ASSERT_EQ(sketch.strokes.size(), 2u);
    EXPECT_EQ(sketch.strokes[0]->size(), 31);
    EXPECT_EQ(sketch.strokes[1]->color, (Rgba{0, 1, 0, 1}));
    // The first stroke, as given, is the axis.
    EXPECT_EQ(sketch.mainAxis.points, first.points);
    EXPECT_EQ(sketch.minX, 0.0);
    EXPECT_EQ(sketch.minY, 0.0);
    EXPECT_EQ(sketch.maxX, 4.0);
    EXPECT_EQ(sketch.maxY, 3.0);
    EXPECT_EQ(sketch.strokeColour(), (Rgba{1, 0, 0, 1}));
}

TEST(FlowerSketchNode, ThirtyFirstStrokeIsRefused) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kBranch);
    for (int i = 0; i < 30; ++i)
        sketch.addStroke(coloured({0, 0, 0}, {1, 1.0 + i, 0}, {0, 0, 1, 1}));
    sketch.addStroke(coloured({0, 0, 0}, {50, 50, 0}, {0, 0, 1, 1}));
    EXPECT_EQ(sketch.strokes.size(), 30u);
    EXPECT_EQ(sketch.maxX, 1.0);
}

TEST(FlowerSketchNode, RemovingAStrokeShrinksTheRectangle) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kBranch);
    sketch.addStroke(coloured({-1, -1, 0}, {0.5, 0.5, 0}, {0, 0, 1, 1}));
    sketch.addStroke(coloured({2, 2, 0}, {3, 4, 0}, {0, 0, 1, 1}));
    sketch.removeStroke(2);
    sketch.removeStroke(-1);
    ASSERT_EQ(sketch.strokes.size(), 2u);
    sketch.removeStroke(1);
    ASSERT_EQ(sketch.strokes.size(), 1u);
    EXPECT_EQ(sketch.minX, -1.0);
    EXPECT_EQ(sketch.maxX, 0.5);
    EXPECT_EQ(sketch.maxY, 0.5);
    sketch.removeStroke(0);
    EXPECT_EQ(sketch.minX, 0.0);
    EXPECT_EQ(sketch.maxY, 0.0);
    EXPECT_EQ(sketch.strokeColour(), (Rgba{1, 1, 0, 0.5f}));
}

TEST(FlowerSketchNode, ScaleAndReshapeLeaveTheRectangleAsItWas) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kLeafOrPetal);
    sketch.addStroke(coloured({0, 0, 0}, {1, 2, 0}, {1, 0, 1, 1}));
    sketch.addStroke(coloured({0, 0, 0}, {-1, 1, 0}, {0, 1, 1, 1}));
    sketch.scale(2.0);
    EXPECT_EQ(sketch.strokes[0]->back(), Vector3(2, 4, 0));
    EXPECT_EQ(sketch.mainAxis.back(), Vector3(2, 4, 0));
    EXPECT_EQ(sketch.maxY, 2.0);

    const Stroke axis = coloured({0, 0, 0}, {0, 5, 0}, {0, 0, 0, 1});
    sketch.reshapeByStroke(axis);
    EXPECT_EQ(sketch.mainAxis.points, axis.points);
    ASSERT_EQ(sketch.strokes.size(), 2u);
    EXPECT_EQ(sketch.strokes[0]->points, axis.points);
    EXPECT_EQ(sketch.strokes[0]->color, (Rgba{1, 0, 1, 1}));
    EXPECT_EQ(sketch.strokes[1]->color, (Rgba{0, 1, 1, 1}));
    EXPECT_EQ(sketch.maxY, 2.0);

    FlowerSketchNode empty(2, FlowerSketchNode::kBranch);
    empty.reshapeByStroke(axis);
    EXPECT_TRUE(empty.strokes.empty());
    EXPECT_EQ(empty.mainAxis.points, axis.points);
}

TEST(FlowerSketchNode, CloneCopiesStrokesRectangleAndType) {
    IdCounter ids;
    FlowerSketchNode sketch(ids.nextId(), FlowerSketchNode::kLeafOrPetal);
    sketch.addStroke(coloured({0, 0, 0}, {1, 2, 0}, {1, 0, 1, 1}));
    std::unique_ptr<FlowerObjectNode> copy = sketch.clone(ids);
    auto& clone = static_cast<FlowerSketchNode&>(*copy);
    EXPECT_NE(clone.id, sketch.id);
    EXPECT_EQ(clone.sketchType(), 2);
    EXPECT_EQ(clone.maxY, 2.0);
    ASSERT_EQ(clone.strokes.size(), 1u);
    clone.scale(3.0);
    EXPECT_EQ(sketch.strokes[0]->back(), Vector3(1, 2, 0));
}

TEST(FlowerSketchNode, BoundingBoxCoversTheTurnedRectangle) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kBranch);
    sketch.addStroke(coloured({1, 1, 0}, {2, 3, 0}, {1, 0, 0, 1}));
    Vector3 lo, hi;
    sketch.boundingBox(lo, hi, Matrix4(), true);
    EXPECT_EQ(lo, Vector3(0, 0, -0.01));
    EXPECT_EQ(hi, Vector3(2, 3, 0.01));
    // A quarter turn about y carries the rectangle's far corner to -z.
    Matrix4 turn;
    turn.setRotationY(std::numbers::pi / 2);
    sketch.boundingBox(lo, hi, turn, true);
    EXPECT_NEAR(lo.z, -2.0, 1e-12);
    EXPECT_NEAR(hi.y, 3.0, 1e-12);
    EXPECT_NEAR(hi.x, 0.01, 1e-12);
}

TEST(FlowerSketchNode, NearestStrokePointFlagsTheAxisTip) {
    FlowerSketchNode sketch(4, FlowerSketchNode::kBranch);
    sketch.addStroke(coloured({0, 0, 0}, {0, 1, 0}, {1, 0, 0, 1}));
    const CompositeRayHit tip = sketch.nearestStrokePoint({0, 1, 5}, {0, 0, -1});
    EXPECT_EQ(tip.objectId, 4);
    EXPECT_TRUE(tip.atTip);
    EXPECT_NEAR(tip.distance, 0.0, 1e-12);
    EXPECT_FALSE(sketch.nearestStrokePoint({0.1, 0.4, 5}, {0, 0, -1}).atTip);
}

TEST(FlowerSketchNode, ExportWritesNothing) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kBranch);
    sketch.addStroke(coloured({0, 0, 0}, {0, 1, 0}, {1, 0, 0, 1}));
    ObjExport out;
    EXPECT_EQ(sketch.exportObj(out, Matrix4(), 17), 17);
    EXPECT_TRUE(out.obj.str().empty());
    EXPECT_TRUE(out.mtl.str().empty());
}

TEST(FlowerSketchNode, RecordWithoutStrokesWritesTranslucentYellow) {
    const FlowerSketchNode sketch(1, FlowerSketchNode::kFlower);
    EXPECT_EQ(recordOf(sketch), "color 1.000000 1.000000 0.000000 0.300000\nmainAxis 0\n"
                                "strokes 0\nSketchType 1\n\n");
}

TEST(FlowerSketchNode, RecordReadsBackStrokesInTheFirstStrokesColour) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kLeafOrPetal);
    sketch.addStroke(coloured({-1, 0, 0}, {1, 2, 0}, {0.5f, 0.25f, 0, 1}));
    sketch.addStroke(coloured({0, 0, 0}, {3, 1, 0}, {0, 1, 0, 1}));
    const std::string text = recordOf(sketch);
    EXPECT_NE(text.find("strokes 2\nstroke 31\n0 "), std::string::npos);
    const auto read = readRecord<FlowerSketchNode>(text, "Sketch");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->strokes.size(), 2u);
    EXPECT_EQ(read->strokes[1]->color, (Rgba{0.5f, 0.25f, 0, 1}));
    EXPECT_EQ(read->sketchType(), 2);
    EXPECT_EQ(read->minX, -1.0);
    EXPECT_EQ(read->maxX, 3.0);
    EXPECT_EQ(read->maxY, 2.0);
    // Colours of later strokes are not kept by the file.
    sketch.strokes[1]->color = sketch.strokes[0]->color;
    EXPECT_EQ(recordOf(*read), recordOf(sketch));
}

TEST(FlowerSketchNode, ReaderKeepsAtMostThirtyStrokes) {
    FlowerSketchNode sketch(1, FlowerSketchNode::kBranch);
    sketch.addStroke(coloured({0, 0, 0}, {1, 1, 0}, {1, 0, 0, 1}));
    std::string text = recordOf(sketch);
    const size_t at = text.find("strokes 1\n");
    const size_t end = text.find("SketchType");
    const std::string block = text.substr(at + 10, end - at - 10);
    std::string many = text.substr(0, at) + "strokes 40\n";
    for (int i = 0; i < 40; ++i)
        many += block;
    many += text.substr(end);
    const auto read = readRecord<FlowerSketchNode>(many, "Sketch");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->strokes.size(), 30u);
    EXPECT_FALSE(readRecord<FlowerSketchNode>(text.substr(0, end - 5), "Sketch"));
}
