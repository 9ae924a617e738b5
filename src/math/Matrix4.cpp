#include "math/Matrix4.h"

#include "math/TextReader.h"
#include "math/TextWriter.h"

#include <cmath>
#include <cstdlib>
#include <vector>

Matrix4 Matrix4::fromColumnMajor(const double* values) {
    Matrix4 r;
    for (int i = 0; i < 16; ++i)
        r.m_[i] = values[i];
    return r;
}

Matrix4 Matrix4::translation(const Vector3& t) {
    Matrix4 r;
    r.setTranslation(t);
    return r;
}

void Matrix4::setIdentity() {
    m_.fill(0.0);
    m_[0] = m_[5] = m_[10] = m_[15] = 1.0;
}

void Matrix4::setTranslation(const Vector3& t) {
    m_[12] = t.x;
    m_[13] = t.y;
    m_[14] = t.z;
}

Matrix4 Matrix4::transposed() const {
    static constexpr int kTransposeIndex[16] = {0, 4, 8,  12, 1, 5, 9,  13,
                                                2, 6, 10, 14, 3, 7, 11, 15};
    Matrix4 r;
    for (int i = 0; i < 16; ++i)
        r.m_[i] = m_[kTransposeIndex[i]];
    return r;
}

void Matrix4::setRotationX(double angle) {
    setIdentity();
    at(1, 1) = std::cos(angle);
    at(1, 2) = -std::sin(angle);
    at(2, 1) = std::sin(angle);
    at(2, 2) = std::cos(angle);
}

void Matrix4::setRotationY(double angle) {
    setIdentity();
    at(0, 0) = std::cos(angle);
    at(0, 2) = std::sin(angle);
    at(2, 0) = -std::sin(angle);
    at(2, 2) = std::cos(angle);
}

void Matrix4::setRotationZ(double angle) {
    setIdentity();
    at(0, 0) = std::cos(angle);
    at(0, 1) = -std::sin(angle);
    at(1, 0) = std::sin(angle);
    at(1, 1) = std::cos(angle);
}

bool Matrix4::setRotationAxis(Vector3 axis, double c, double s) {
    setIdentity();
    if (c == 1.0 && s == 0.0)
        return true;
    if (!axis.normalize())
        return false;
    const double x = axis.x, y = axis.y, z = axis.z;
    const double t = 1.0 - c;
    at(0, 0) = x * x + c * (1.0 - x * x);
    at(0, 1) = t * x * y - s * z;
    at(0, 2) = t * x * z + s * y;
    at(1, 0) = t * x * y + s * z;
    at(1, 1) = y * y + c * (1.0 - y * y);
    at(1, 2) = t * y * z - s * x;
    at(2, 0) = t * x * z - s * y;
    at(2, 1) = t * y * z + s * x;
    at(2, 2) = z * z + c * (1.0 - z * z);
    return true;
}

namespace {

constexpr double kSingularThreshold = 1e-11;

// The 4x4 inverse through invertGeneral, which works on row-major arrays: the
// column-major storage is transposed in and out.
bool invertInto(const Matrix4& m, Matrix4& out) {
    if (std::fabs(determinant(m.data(), 4)) < kSingularThreshold)
        return false;
    const Matrix4 rowMajor = m.transposed();
    double inverse[16];
    if (!invertGeneral(rowMajor.data(), inverse, 4))
        return false;
    out = Matrix4::fromColumnMajor(inverse).transposed();
    return true;
}

} // namespace

bool Matrix4::invert() {
    return invertInto(*this, *this);
}

Vector3 Matrix4::rotateVector(const Vector3& v) const {
    return {at(0, 0) * v.x + at(0, 1) * v.y + at(0, 2) * v.z,
            at(1, 0) * v.x + at(1, 1) * v.y + at(1, 2) * v.z,
            at(2, 0) * v.x + at(2, 1) * v.y + at(2, 2) * v.z};
}

void Matrix4::writeText(TextWriter& out) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            out.real(at(r, c)).text(" ");
        out.text("\n");
    }
}

bool Matrix4::readText(TextReader& in) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!in.real(at(r, c)))
                return false;
    return true;
}

void Matrix4::writeRaw(TextWriter& out) const {
    for (double v : m_)
        out.real(v).text(" ");
}

bool Matrix4::readRaw(TextReader& in) {
    for (double& v : m_)
        if (!in.real(v))
            return false;
    return true;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a.at(row, k) * b.at(k, col);
            r.at(row, col) = sum;
        }
    return r;
}

Vector3 transformPoint(const Matrix4& m, const Vector3& p) {
    return {m.at(0, 0) * p.x + m.at(0, 1) * p.y + m.at(0, 2) * p.z + m.at(0, 3),
            m.at(1, 0) * p.x + m.at(1, 1) * p.y + m.at(1, 2) * p.z + m.at(1, 3),
            m.at(2, 0) * p.x + m.at(2, 1) * p.y + m.at(2, 2) * p.z + m.at(2, 3)};
}

Matrix4 inverted(const Matrix4& m) {
    Matrix4 r;
    if (!invertInto(m, r))
        r.setIdentity();
    return r;
}

double integerPower(double x, int k) {
    unsigned long long e = static_cast<unsigned long long>(std::llabs(static_cast<long long>(k)));
    double result = 1.0;
    double square = x;
    while (e != 0) {
        if (e & 1ULL)
            result *= square;
        square *= square;
        e >>= 1;
    }
    return k < 0 ? 1.0 / result : result;
}

namespace {

// The (n-1) x (n-1) minor of a row-major n x n array without row `skipRow` and
// column `skipCol`.
void fillMinor(const double* a, int n, int skipRow, int skipCol, double* minor) {
    int k = 0;
    for (int r = 0; r < n; ++r) {
        if (r == skipRow)
            continue;
        for (int c = 0; c < n; ++c)
            if (c != skipCol)
                minor[k++] = a[r * n + c];
    }
}

} // namespace

double determinant(const double* a, int n) {
    if (n < 1)
        return 0.0;
    if (n == 1)
        return a[0];
    if (n == 2)
        return a[0] * a[3] - a[1] * a[2];
    if (n == 3)
        return a[0] * a[4] * a[8] + a[1] * a[5] * a[6] + a[2] * a[3] * a[7] - a[2] * a[4] * a[6] -
               a[0] * a[5] * a[7] - a[1] * a[3] * a[8];
    std::vector<double> minor(static_cast<size_t>((n - 1) * (n - 1)));
    double det = 0.0;
    for (int i = 0; i < n; ++i) {
        fillMinor(a, n, i, 0, minor.data());
        det += a[i * n] * integerPower(-1.0, i) * determinant(minor.data(), n - 1);
    }
    return det;
}

bool invertGeneral(const double* a, double* dst, int n) {
    if (n <= 0)
        return false;
    if (n == 1) {
        if (a[0] == 0.0)
            return false;
        dst[0] = 1.0 / a[0];
        return true;
    }
    if (n == 2) {
        const double det = a[0] * a[3] - a[1] * a[2];
        if (det == 0.0)
            return false;
        const double k = 1.0 / det;
        dst[0] = a[3] * k;
        dst[1] = -a[1] * k;
        dst[2] = -a[2] * k;
        dst[3] = a[0] * k;
        return true;
    }
    std::vector<double> cofactors(static_cast<size_t>(n * n));
    std::vector<double> minor(static_cast<size_t>((n - 1) * (n - 1)));
    // Column 0's cofactors give the determinant by first-column expansion.
    double det = 0.0;
    for (int i = 0; i < n; ++i) {
        fillMinor(a, n, i, 0, minor.data());
        cofactors[i * n] = integerPower(-1.0, i) * determinant(minor.data(), n - 1);
        det += a[i * n] * cofactors[i * n];
    }
    if (det == 0.0)
        return false;
    for (int i = 0; i < n; ++i)
        for (int j = 1; j < n; ++j) {
            fillMinor(a, n, i, j, minor.data());
            cofactors[i * n + j] = integerPower(-1.0, i + j) * determinant(minor.data(), n - 1);
        }
    const double k = 1.0 / det;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            dst[i * n + j] = cofactors[j * n + i] * k;
    return true;
}
