#include "math/Matrix4.h"
#include "math/TextReader.h"
#include "math/TextWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

Matrix4 diagonal(double a, double b, double c, double d) {
    Matrix4 m;
    m.at(0, 0) = a;
    m.at(1, 1) = b;
    m.at(2, 2) = c;
    m.at(3, 3) = d;
    return m;
}

void expectNear(const Matrix4& a, const Matrix4& b, double tolerance = 1e-12) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a[i], b[i], tolerance) << "index " << i;
}

// A general matrix with a known inverse check: M * inverse(M) = I.
Matrix4 sample() {
    const double values[16] = {2, 1, 0, 0, -1, 3, 1, 0, 0.5, 0, 4, 0, 1, 2, 3, 1};
    return Matrix4::fromColumnMajor(values);
}

} // namespace

TEST(Matrix4, NewMatrixIsIdentityInColumnMajorOrder) {
    const Matrix4 m;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0 : 0.0);
    const Matrix4 t = Matrix4::translation({1, 2, 3});
    EXPECT_EQ(t[12], 1.0);
    EXPECT_EQ(t[13], 2.0);
    EXPECT_EQ(t[14], 3.0);
    EXPECT_EQ(transformPoint(t, {1, 1, 1}), Vector3(2, 3, 4));
}

TEST(Matrix4, MultiplyIsTheUsualProduct) {
    Matrix4 rx;
    rx.setRotationX(0.3);
    const Matrix4 t = Matrix4::translation({1, 0, 0});
    const Vector3 p(0.2, 0.5, -1);
    // (T * R) p = T (R p)
    const Vector3 direct = transformPoint(t * rx, p);
    const Vector3 stepwise = transformPoint(t, transformPoint(rx, p));
    EXPECT_NEAR(direct.x, stepwise.x, 1e-15);
    EXPECT_NEAR(direct.y, stepwise.y, 1e-15);
    EXPECT_NEAR(direct.z, stepwise.z, 1e-15);
}

TEST(Matrix4, TransposeSwapsRowsAndColumns) {
    const Matrix4 m = sample();
    const Matrix4 t = m.transposed();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(t.at(r, c), m.at(c, r));
}

TEST(Matrix4, RotationsTurnTheAxesAsExpected) {
    Matrix4 ry;
    ry.setRotationY(std::numbers::pi / 2);
    const Vector3 z = transformPoint(ry, {0, 0, 1});
    EXPECT_NEAR(z.x, 1.0, 1e-15);
    EXPECT_NEAR(z.z, 0.0, 1e-15);
    Matrix4 rx;
    rx.setRotationX(std::numbers::pi / 2);
    const Vector3 y = transformPoint(rx, {0, 1, 0});
    EXPECT_NEAR(y.z, 1.0, 1e-15);
}

TEST(Matrix4, RotationAxisMatchesTheElementaryRotations) {
    const double angle = 0.7;
    Matrix4 byAxis;
    EXPECT_TRUE(byAxis.setRotationAxis({2, 0, 0}, std::cos(angle), std::sin(angle)));
    Matrix4 rx;
    rx.setRotationX(angle);
    expectNear(byAxis, rx);
    EXPECT_TRUE(byAxis.setRotationAxis({0, -3, 0}, std::cos(angle), std::sin(angle)));
    Matrix4 ry;
    ry.setRotationY(-angle);
    expectNear(byAxis, ry);
}

TEST(Matrix4, RotationAxisZeroAxisCases) {
    Matrix4 m = sample();
    EXPECT_TRUE(m.setRotationAxis({0, 0, 0}, 1.0, 0.0));
    EXPECT_EQ(m, Matrix4());
    m = sample();
    EXPECT_FALSE(m.setRotationAxis({0, 0, 0}, 0.0, 1.0));
    EXPECT_EQ(m, Matrix4());
}

TEST(Matrix4, InvertHonoursTheSingularThreshold) {
    // det = 5e-12: below the threshold, the matrix stays as it was.
    Matrix4 small = diagonal(5e-12, 1, 1, 1);
    const Matrix4 before = small;
    EXPECT_FALSE(small.invert());
    EXPECT_EQ(small, before);
    // det = 2e-11: inverted.
    Matrix4 big = diagonal(2e-11, 1, 1, 1);
    EXPECT_TRUE(big.invert());
    EXPECT_NEAR(big.at(0, 0), 5e10, 1e-3);
}

TEST(Matrix4, InvertGivesTheInverse) {
    Matrix4 m = sample();
    Matrix4 inv = m;
    ASSERT_TRUE(inv.invert());
    expectNear(m * inv, Matrix4(), 1e-12);
    expectNear(inverted(m), inv, 0.0);
}

TEST(Matrix4, InvertedOfSingularIsIdentity) {
    EXPECT_EQ(inverted(diagonal(0, 1, 1, 1)), Matrix4());
}

TEST(Matrix4, DeterminantAgreesWithTheProductOfADiagonal) {
    const double d1[1] = {-3};
    EXPECT_EQ(determinant(d1, 1), -3);
    EXPECT_EQ(determinant(d1, 0), 0);
    const double d2[4] = {1, 2, 3, 4};
    EXPECT_EQ(determinant(d2, 2), -2);
    const double d3[9] = {2, 0, 1, 1, 3, 2, 1, 1, 2};
    EXPECT_DOUBLE_EQ(determinant(d3, 3), 2 * (6 - 2) - 0 + 1 * (1 - 3));
    // 5x5 triangular: the product of the diagonal.
    double d5[25] = {};
    for (int i = 0; i < 5; ++i)
        for (int j = i; j < 5; ++j)
            d5[i * 5 + j] = (i == j) ? i + 1.0 : 0.5 * (i + j);
    EXPECT_DOUBLE_EQ(determinant(d5, 5), 120.0);
}

TEST(Matrix4, InvertGeneralSmallSizesAndFailures) {
    double out[9] = {};
    const double zero[1] = {0};
    EXPECT_FALSE(invertGeneral(zero, out, 1));
    EXPECT_FALSE(invertGeneral(zero, out, 0));
    const double two[4] = {4, 7, 2, 6};
    ASSERT_TRUE(invertGeneral(two, out, 2));
    EXPECT_DOUBLE_EQ(out[0], 0.6);
    EXPECT_DOUBLE_EQ(out[1], -0.7);
    EXPECT_DOUBLE_EQ(out[2], -0.2);
    EXPECT_DOUBLE_EQ(out[3], 0.4);
    const double singular3[9] = {1, 2, 3, 2, 4, 6, 0, 1, 1};
    EXPECT_FALSE(invertGeneral(singular3, out, 3));
    const double three[9] = {2, 0, 1, 1, 3, 2, 1, 1, 2};
    ASSERT_TRUE(invertGeneral(three, out, 3));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += three[r * 3 + k] * out[k * 3 + c];
            EXPECT_NEAR(sum, r == c ? 1.0 : 0.0, 1e-14);
        }
}

TEST(Matrix4, IntegerPowerHandlesNegativeAndZeroExponents) {
    EXPECT_EQ(integerPower(2.0, 10), 1024.0);
    EXPECT_EQ(integerPower(-1.0, 3), -1.0);
    EXPECT_EQ(integerPower(-1.0, 4), 1.0);
    EXPECT_EQ(integerPower(5.0, 0), 1.0);
    EXPECT_EQ(integerPower(2.0, -2), 0.25);
}

TEST(Matrix4, TextFormIsRowByRowAndReadsBack) {
    Matrix4 m = sample();
    m.at(0, 3) = 1.25;
    TextWriter w;
    m.writeText(w);
    const std::string text = w.str();
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "2.000000 -1.000000 0.500000 1.250000 \n");
    TextReader r(text);
    Matrix4 back;
    ASSERT_TRUE(back.readText(r));
    EXPECT_EQ(back, m);

    TextWriter raw;
    m.writeRaw(raw);
    EXPECT_EQ(raw.str().substr(0, 18), "2.000000 1.000000 ");
    TextReader rr(raw.str());
    Matrix4 backRaw;
    ASSERT_TRUE(backRaw.readRaw(rr));
    EXPECT_EQ(backRaw, m);
}
