#include "organs/PetalShape.h"

#include "interaction/PetalStrokes.h"
#include "math/TextWriter.h"
#include "model/ObjExport.h"
#include "model/Parameters.h"
#include "organs/PetalControlPointManager.h"

#include <gtest/gtest.h>

#include "support/FullSumPetal.h"
#include "support/HandDrawnPetal.h"
#include "support/TextLines.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// A net of zeros with `rows` rows and 2c + 1 columns.
PetalControlPointManager zeroNet(int rows, int c) {
    return PetalControlPointManager(Grid(rows, 2 * c + 1));
}

// A net whose points lie on a plane: point (r, k) at (k - c, r, (k - c) slope).
PetalControlPointManager planeNet(int rows, int c, double slope) {
    Grid points(rows, 2 * c + 1);
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k <= 2 * c; ++k)
            points.at(r, k) = {double(k - c), double(r), (k - c) * slope};
    return PetalControlPointManager(std::move(points));
}

// The net of a hand-drawn petal at the default parameters.
PetalControlPointManager drawnNet(std::uint32_t seed) {
    PenNoise noise(seed);
    const PetalSketch sketch = drawPetal(noise);
    PetalStrokes strokes;
    EXPECT_TRUE(makePetalStrokes(sketch.strokes[0], sketch.strokes[1], sketch.strokes[2], strokes));
    PetalControlPointManager net;
    net.createFromOutline(strokes.left.points, strokes.middle.points, strokes.right.points,
                          Parameters().petalControlPoints);
    return net;
}

// The same net bent in every way the modify mode bends it.
PetalControlPointManager bentNet(std::uint32_t seed) {
    PetalControlPointManager net = drawnNet(seed);
    const int c = net.midribColumn();
    const int last = net.lastColumn();
    Profile along(static_cast<size_t>(net.rowCount()));
    for (size_t i = 0; i < along.size(); ++i)
        along[i] = 0.05 * std::sin(3.0 * i / along.size());
    net.bendAlongMidrib({0, c}, {net.tipRow(), c}, along);
    Profile across(static_cast<size_t>(net.columnCount()));
    for (size_t i = 0; i < across.size(); ++i)
        across[i] = 0.1 * std::sin(3.1 * i / (across.size() - 1));
    net.liftRowsGlobally({3, 0}, {3, last}, across);
    PointList side;
    for (int j = 0; j <= c; ++j)
        side.push_back({0.03 * j, 0, 0.01 * j * j});
    net.bendRowsLocally({4, c}, {4, last}, side);
    return net;
}

constexpr double kB0 = 4.0 / 6.0; // the kernel at 0
constexpr double kB1 = 1.0 / 6.0; // the kernel at 1

} // namespace

TEST(PetalShape, StartsEmptyAndRaisesResolutionsBelowThree) {
    PetalShape shape;
    EXPECT_EQ(shape.rows(), 0);
    EXPECT_EQ(shape.columns(), 0);
    EXPECT_TRUE(shape.positions(PetalHalf::Left).empty());
    shape.rebuild(planeNet(5, 2, 0), 1, 2);
    EXPECT_EQ(shape.rows(), 3);
    EXPECT_EQ(shape.columns(), 3);
    for (const PetalHalf half : {PetalHalf::Left, PetalHalf::Right})
        for (const Grid* grid :
             {&shape.positions(half), &shape.normals(half), &shape.texCoords(half)}) {
            EXPECT_EQ(grid->rows(), 3);
            EXPECT_EQ(grid->columns(), 3);
        }
}

TEST(PetalShape, EvaluationWeighsTheNearestControlPoints) {
    PetalControlPointManager net = zeroNet(7, 2);
    net.setPointAt(3, 1, {0, 0, 6});
    EXPECT_NEAR(PetalShape::evaluate(3, 1, PetalHalf::Left, net).z, kB0 * kB0 * 6, 1e-12);
    const double half = (3 * 0.125 - 6 * 0.25 + 4) / 6; // the kernel at 0.5
    EXPECT_NEAR(PetalShape::evaluate(3.5, 1, PetalHalf::Left, net).z, half * kB0 * 6, 1e-12);
    EXPECT_EQ(PetalShape::evaluate(3, 1, PetalHalf::Right, net).z, 0.0);

    // The right half reads the midrib for offsets up to 0 and column c + k beyond.
    net = zeroNet(7, 2);
    net.setPointAt(3, 3, {0, 0, 6});
    EXPECT_NEAR(PetalShape::evaluate(3, 1, PetalHalf::Right, net).z, kB0 * kB0 * 6, 1e-12);
    EXPECT_NEAR(PetalShape::evaluate(3, 0, PetalHalf::Right, net).z, kB0 * kB1 * 6, 1e-12);

    // Indices beyond the edges are clamped to the edge columns.
    net = zeroNet(7, 2);
    net.setPointAt(3, 4, {0, 0, 6});
    net.setPointAt(3, 0, {0, 0, 6});
    EXPECT_NEAR(PetalShape::evaluate(3, 3, PetalHalf::Right, net).z, kB0 * 6, 1e-12);
    EXPECT_NEAR(PetalShape::evaluate(3, -1, PetalHalf::Left, net).z, kB0 * 6, 1e-12);

    // On the base row the left half reads only the midrib; the right half reads its
    // columns there too.
    net = zeroNet(7, 2);
    net.setPointAt(0, 0, {0, 0, 6});
    net.setPointAt(0, 4, {0, 0, 6});
    EXPECT_EQ(PetalShape::evaluate(-1, -1, PetalHalf::Left, net).z, 0.0);
    EXPECT_NEAR(PetalShape::evaluate(-1, 3, PetalHalf::Right, net).z, 6, 1e-12);
    net.setPointAt(0, 2, {0, 0, 6});
    EXPECT_NEAR(PetalShape::evaluate(-1, -1, PetalHalf::Left, net).z, 6, 1e-12);

    // Inside the net the surface reproduces a linear net.
    const Vector3 p = PetalShape::evaluate(3.25, 1.5, PetalHalf::Left, planeNet(8, 5, 0));
    EXPECT_NEAR(p.x, 1.5 - 5, 1e-12);
    EXPECT_NEAR(p.y, 3.25, 1e-12);

    // Far outside the parameter range nothing weighs in, and neither does a NaN.
    EXPECT_EQ(PetalShape::evaluate(-9, 1, PetalHalf::Left, planeNet(8, 5, 1)), Vector3());
    EXPECT_EQ(PetalShape::evaluate(std::nan(""), 1, PetalHalf::Left, planeNet(8, 5, 1)), Vector3());
    EXPECT_EQ(PetalShape::evaluate(1, 1, PetalHalf::Left, PetalControlPointManager()), Vector3());
}

TEST(PetalShape, WindowedSamplesEqualTheFullSumBitForBit) {
    for (const std::uint32_t seed : {3u, 17u}) {
        const PetalControlPointManager net = bentNet(seed);
        for (const auto& [rows, columns] : {std::pair{20, 20}, std::pair{23, 7}}) {
            PetalShape shape;
            shape.rebuild(net, rows, columns);
            const FullSumSamples reference = fullSumSample(net, rows, columns);
            EXPECT_EQ(shape.positions(PetalHalf::Left), reference.left);
            EXPECT_EQ(shape.positions(PetalHalf::Right), reference.right);
        }
        for (const double s : {-3.0, -1.0, 0.3, 2.0, 7.999, 8.0, 11.0})
            for (const double t : {-2.5, -1.0, 0.5, 3.0, 6.0, 9.0})
                for (const PetalHalf half : {PetalHalf::Left, PetalHalf::Right})
                    EXPECT_EQ(PetalShape::evaluate(s, t, half, net),
                              fullSumEvaluate(s, t, half, net));
    }
}

TEST(PetalShape, FlatPetalMeetsBaseAndTipWithBackNormalsAndDiscTexture) {
    const PetalControlPointManager net = drawnNet(5);
    const Vector3 base = net.pointAt(0, 0);
    const Vector3 tip = net.pointAt(net.tipRow(), 0);
    PetalShape shape;
    shape.rebuild(net, 20, 20);
    for (const PetalHalf half : {PetalHalf::Left, PetalHalf::Right}) {
        const Grid& P = shape.positions(half);
        for (int h = 0; h < 20; ++h) {
            EXPECT_NEAR(distance(P.at(0, h), base), 0.0, 1e-12);
            EXPECT_NEAR(distance(P.at(19, h), tip), 0.0, 1e-12);
        }
        for (const Vector3& n : shape.normals(half).cells()) {
            EXPECT_FALSE(n.degenerate);
            EXPECT_EQ(n, Vector3(0, 0, -1));
        }
        for (int h = 0; h < 20; ++h) {
            EXPECT_EQ(shape.texCoords(half).at(0, h), Vector3(0.5, 0, 0));
            EXPECT_EQ(shape.texCoords(half).at(19, h), Vector3(0.5, 1, 0));
        }
    }
    // The outline edges follow the outline columns: the left edge lies left of the
    // midrib half way up.
    EXPECT_LT(shape.positions(PetalHalf::Left).at(10, 0).x,
              shape.positions(PetalHalf::Left).at(10, 19).x);
    EXPECT_EQ(shape.positions(PetalHalf::Left).at(10, 19),
              shape.positions(PetalHalf::Right).at(10, 0));
}

TEST(PetalShape, TextureCoordinatesSpanTheInscribedDisc) {
    PetalShape shape;
    shape.rebuild(planeNet(5, 2, 0), 5, 3);
    // Row 2 is half way up, where the disc is widest (half width 0.5).
    const double left[3] = {0, 0.25, 0.5};
    const double right[3] = {0.5, 0.75, 1};
    for (int h = 0; h < 3; ++h) {
        EXPECT_EQ(shape.texCoords(PetalHalf::Left).at(2, h), Vector3(left[h], 0.5, 0));
        EXPECT_EQ(shape.texCoords(PetalHalf::Right).at(2, h), Vector3(right[h], 0.5, 0));
    }
    const double w = std::sqrt(0.25 - 0.0625);
    EXPECT_NEAR(shape.texCoords(PetalHalf::Left).at(1, 0).x, 0.5 - w, 1e-15);
    EXPECT_NEAR(shape.texCoords(PetalHalf::Right).at(1, 2).x, 0.5 + w, 1e-15);
}

TEST(PetalShape, NormalsOfATiltedSheetAreUniformUpToTheBorders) {
    // Every sample of a plane net lies on the plane z = x, so every normal, the
    // one-sided ones at the first and last rows and columns included, is the
    // plane's back normal.
    const Vector3 expected = unit(Vector3(1, 0, -1));
    PetalShape shape;
    shape.rebuild(planeNet(6, 3, 1), 9, 7);
    for (const PetalHalf half : {PetalHalf::Left, PetalHalf::Right}) {
        const Grid& N = shape.normals(half);
        for (int g = 0; g < N.rows(); ++g)
            for (int h = 0; h < N.columns(); ++h) {
                SCOPED_TRACE(testing::Message() << "row " << g << ", column " << h);
                EXPECT_NEAR(distance(N.at(g, h), expected), 0.0, 1e-9);
            }
    }
}

TEST(PetalShape, SamplingFollowsEditsAndCopiesAreWhole) {
    PetalControlPointManager net = planeNet(6, 2, 0);
    PetalShape shape;
    shape.rebuild(net, 10, 8);
    PetalShape copy;
    copy.copyFrom(shape);
    EXPECT_EQ(copy.rows(), 10);
    EXPECT_EQ(copy.positions(PetalHalf::Right), shape.positions(PetalHalf::Right));
    EXPECT_EQ(copy.normals(PetalHalf::Left), shape.normals(PetalHalf::Left));
    EXPECT_EQ(copy.texCoords(PetalHalf::Left), shape.texCoords(PetalHalf::Left));

    // The shape shows an edit only once it samples again; texture coordinates stay.
    net.setPointAt(3, 4, {2, 3, 1});
    const Grid before = shape.positions(PetalHalf::Right);
    const Grid texture = shape.texCoords(PetalHalf::Right);
    shape.sample(net);
    EXPECT_NE(shape.positions(PetalHalf::Right), before);
    EXPECT_EQ(shape.texCoords(PetalHalf::Right), texture);
    EXPECT_EQ(copy.positions(PetalHalf::Right), before);
}

TEST(PetalShape, ObjGroupsOfTheFourSides) {
    PetalShape shape;
    shape.rebuild(drawnNet(8), 20, 20);
    ObjExport out;
    EXPECT_EQ(shape.writeObj(out, Matrix4(), 0, 7, "petalFront7", "petalBack7"), 1600);
    const std::vector<std::string> all = lines(out.obj.str());
    // Each group: two heading lines, 3 x 400 vertex lines, 2 x 19 x 19 faces.
    const size_t group = 2 + 3 * 400 + 2 * 19 * 19;
    ASSERT_EQ(all.size(), 4 * group);
    EXPECT_EQ(all[0], "g petalRightFront_7");
    EXPECT_EQ(all[1], "usemtl petalFront7");
    EXPECT_EQ(all[2 + 1200], "f 1/1/1 22/22/22 21/21/21");
    EXPECT_EQ(all[group], "g petalRightBack_7");
    EXPECT_EQ(all[group + 1], "usemtl petalBack7");
    EXPECT_EQ(all[group + 2 + 1200], "f 401/401/401 421/421/421 422/422/422");
    EXPECT_EQ(all[2 * group], "g petalLeftFront_7");
    EXPECT_EQ(all[2 * group + 1], "usemtl petalFront7");
    EXPECT_EQ(all[3 * group], "g petalLeftBack_7");
    EXPECT_EQ(all[3 * group + 1], "usemtl petalBack7");
    EXPECT_EQ(all[3 * group + 2 + 1200], "f 1201/1201/1201 1221/1221/1221 1222/1222/1222");

    // A flat petal's stored normals point to -z, its underside; the front sides
    // carry them negated.
    EXPECT_EQ(all[2 + 400], "vn 0.000000 0.000000 1.000000");
    EXPECT_EQ(all[group + 2 + 400], "vn 0.000000 0.000000 -1.000000");
    // A running count carries on.
    ObjExport more;
    EXPECT_EQ(shape.writeObj(more, Matrix4(), 1600, 7, "a", "b"), 3200);
}
