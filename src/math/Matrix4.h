#pragma once

#include "math/Vector3.h"

#include <array>

class TextWriter;
class TextReader;

// A 4x4 matrix in OpenGL's column-major order: element (row r, column c) is at
// index 4c + r, the translation at indices 12, 13 and 14. `data()` goes to
// glMultMatrixd unchanged. A new matrix is the identity. Points are transformed as
// column vectors with w = 1 and no perspective division.
class Matrix4 {
public:
    Matrix4() { setIdentity(); }

    static Matrix4 fromColumnMajor(const double* values);
    static Matrix4 translation(const Vector3& t);

    double& at(int row, int column) { return m_[4 * column + row]; }
    double at(int row, int column) const { return m_[4 * column + row]; }
    double& operator[](int index) { return m_[index]; }
    double operator[](int index) const { return m_[index]; }
    const double* data() const { return m_.data(); }

    void setIdentity();
    Vector3 translationPart() const { return {m_[12], m_[13], m_[14]}; }
    void setTranslation(const Vector3& t);

    Matrix4 transposed() const;
    // Rotations reset the matrix to the identity first.
    void setRotationX(double angle);
    void setRotationY(double angle);
    void setRotationZ(double angle);
    // Rotation about `axis` by the angle whose cosine is c and sine is s. c = 1 and
    // s = 0 give the identity and true even for a zero axis; any other angle about a
    // zero axis gives the identity and false.
    bool setRotationAxis(Vector3 axis, double c, double s);

    // In-place inverse; a matrix with |det| < 1e-11 is left untouched and the result
    // is false.
    bool invert();

    // The upper-left 3x3 part applied to a direction (no translation).
    Vector3 rotateVector(const Vector3& v) const;

    // Four lines, one per row, each element written "%f " and the line ended by "\n".
    void writeText(TextWriter& out) const;
    // Sixteen numbers row by row, each stored at its column-major index.
    bool readText(TextReader& in);
    // The sixteen elements in storage order, each "%f ", without line breaks.
    void writeRaw(TextWriter& out) const;
    bool readRaw(TextReader& in);

    bool operator==(const Matrix4& o) const { return m_ == o.m_; }

private:
    std::array<double, 16> m_;
};

Matrix4 multiply(const Matrix4& a, const Matrix4& b);
inline Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    return multiply(a, b);
}
Vector3 transformPoint(const Matrix4& m, const Vector3& p);
// The inverse of m with the same 1e-11 threshold as `invert`; a singular m gives
// the identity.
Matrix4 inverted(const Matrix4& m);

// Determinant of an n x n row-major array by expansion along the first column.
double determinant(const double* values, int n);
// Inverse of an n x n row-major array through the adjugate; false (and dst
// untouched) only for an exactly zero determinant or n <= 0.
bool invertGeneral(const double* src, double* dst, int n);
// x raised to the integer k by binary exponentiation.
double integerPower(double x, int k);
