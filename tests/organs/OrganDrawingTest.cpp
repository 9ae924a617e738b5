#include "interaction/OpenGL.h"

#include "model/Parameters.h"
#include "model/PickColour.h"
#include "organs/FlowerSketchNode.h"
#include "organs/FlowerStemNode.h"
#include "support/GlTestContext.h"

#include <QPoint>

namespace {

Stroke upright(double height) {
    Stroke s;
    for (int i = 0; i <= 20; ++i)
        s.add({0.0, height * i / 20, 0.0});
    return s;
}

// Looks at (0, 0.5, 0) from 3 units in front.
class OrganDrawing : public GlTest {
protected:
    OrganDrawing() : GlTest(160, 120) { togl().setCamera({0, 0.5, 3}, {0, 0.5, 0}, {0, 1, 0}); }

    // The window pixel (y downwards) where world point p appears.
    QPoint pixelOf(const Vector3& p) {
        const ViewTransform& view = togl().viewTransform();
        const Vector3 eye = transformPoint(view.modelView, p);
        const Matrix4& m = view.projection;
        const double w = -eye.z;
        return {static_cast<int>((m.at(0, 0) * eye.x / w + 1) / 2 * 160),
                static_cast<int>((1 - m.at(1, 1) * eye.y / w) / 2 * 120)};
    }

    PickRecord pickAt(const Vector3& p) {
        const QPoint at = pixelOf(p);
        SCOPED_TRACE(testing::Message() << at.x() << "," << at.y());
        const PickPixel pixel = togl().pixelHasObject(at.x(), at.y());
        EXPECT_TRUE(pixel.found);
        return decodePickColour(pixel.colour & 0xFFFFFFu, &togl().pickKeys());
    }
};

} // namespace

TEST_F(OrganDrawing, PickSnapshotShowsTheStemAndItsTipInPickColours) {
    FlowerStemNode stem(42, upright(1.0), Parameters());
    stem.radius = 0.2;
    stem.rebuildTube();
    TOGL& gl = togl();
    gl.beginSnapshot();
    gl.loadViewMatrix();
    stem.drawSolid(frame());
    stem.drawWireframe(frame()); // nothing in a pick snapshot
    gl.endFrame();
    const PickRecord body = pickAt({0.1, 0.5, 0.2});
    EXPECT_EQ(body.id, 42);
    EXPECT_FALSE(body.twoIndexPart);
    const QPoint beside = pixelOf({0.6, 0.5, 0});
    EXPECT_FALSE(gl.pixelHasObject(beside.x(), beside.y()).found);

    gl.beginSnapshot();
    gl.loadViewMatrix();
    stem.drawControlPoints(frame());
    gl.endFrame();
    const PickRecord tip = pickAt(stem.mainAxis.back());
    EXPECT_EQ(tip.id, 42);
    EXPECT_TRUE(tip.twoIndexPart);
    EXPECT_EQ(tip.a, 0);
    EXPECT_EQ(tip.b, 1);
    EXPECT_EQ(pickAt(stem.mainAxis.front()).b, 2);
}

TEST_F(OrganDrawing, TranslucentTubesLeaveTheDepthBufferAlone) {
    FlowerStemNode stem(7, upright(1.0), Parameters());
    stem.radius = 0.2;
    stem.rebuildTube();
    TOGL& gl = togl();
    const QPoint centre = pixelOf({0, 0.5, 0.2});
    const size_t index = static_cast<size_t>(119 - centre.y()) * 160 + centre.x();

    // A windowless view reads every frame back, depth included.
    gl.beginFrame();
    gl.loadViewMatrix();
    stem.drawTranslucent(frame());
    gl.endFrame();
    EXPECT_EQ(gl.depthBuffer()[index], 1.0f);
    EXPECT_NE(gl.colorBuffer()[index] & 0xFFFFFFu, 0xFFFFFFu);

    GLboolean depthWrites = GL_FALSE;

    gl.beginFrame();
    gl.loadViewMatrix();
    stem.drawSolid(frame());
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    gl.endFrame();
    EXPECT_LT(gl.depthBuffer()[index], 1.0f);
    EXPECT_TRUE(depthWrites);
}

TEST_F(OrganDrawing, SketchStrokesArePickedOneByOneAndTheBillboardAsAWhole) {
    drawRecords.display.showBillboard = true;
    FlowerSketchNode sketch(9, FlowerSketchNode::kBranch);
    Stroke left, right;
    for (int i = 0; i <= 10; ++i) {
        left.add({-0.3, 0.1 * i, 0});
        right.add({0.3, 0.1 * i, 0});
    }
    sketch.addStroke(left);
    sketch.addStroke(right);
    TOGL& gl = togl();
    gl.beginSnapshot();
    gl.loadViewMatrix();
    sketch.drawSolid(frame());
    gl.endFrame();

    const PickRecord first = pickAt({-0.3, 0.5, 0});
    EXPECT_EQ(first.id, 9);
    EXPECT_TRUE(first.oneIndexPart);
    EXPECT_EQ(first.a, 0);
    EXPECT_EQ(pickAt({0.3, 0.5, 0}).a, 1);
    // Between the strokes lies the billboard, the whole sketch.
    const PickRecord board = pickAt({0.05, 0.5, 0});
    EXPECT_EQ(board.id, 9);
    EXPECT_FALSE(board.oneIndexPart);
    EXPECT_FALSE(board.twoIndexPart);
}
