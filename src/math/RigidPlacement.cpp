#include "math/RigidPlacement.h"

#include <cmath>

namespace {

// The quaternion of the rotation part, as it comes.
std::array<double, 4> nearestQuaternion(const Matrix4& m) {
    const double trace = m.at(0, 0) + m.at(1, 1) + m.at(2, 2);
    std::array<double, 4> q;
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(trace + 1.0);
        q = {(m.at(2, 1) - m.at(1, 2)) / s, (m.at(0, 2) - m.at(2, 0)) / s,
             (m.at(1, 0) - m.at(0, 1)) / s, 0.25 * s};
    } else if (m.at(0, 0) > m.at(1, 1) && m.at(0, 0) > m.at(2, 2)) {
        const double s = 2.0 * std::sqrt(1.0 + m.at(0, 0) - m.at(1, 1) - m.at(2, 2));
        q = {0.25 * s, (m.at(0, 1) + m.at(1, 0)) / s, (m.at(0, 2) + m.at(2, 0)) / s,
             (m.at(2, 1) - m.at(1, 2)) / s};
    } else if (m.at(1, 1) > m.at(2, 2)) {
        const double s = 2.0 * std::sqrt(1.0 + m.at(1, 1) - m.at(0, 0) - m.at(2, 2));
        q = {(m.at(0, 1) + m.at(1, 0)) / s, 0.25 * s, (m.at(1, 2) + m.at(2, 1)) / s,
             (m.at(0, 2) - m.at(2, 0)) / s};
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m.at(2, 2) - m.at(0, 0) - m.at(1, 1));
        q = {(m.at(0, 2) + m.at(2, 0)) / s, (m.at(1, 2) + m.at(2, 1)) / s, 0.25 * s,
             (m.at(1, 0) - m.at(0, 1)) / s};
    }
    return q;
}

} // namespace

bool isRigid(const Matrix4& m) {
    constexpr double kTolerance = 1e-4;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double d = 0.0;
            for (int k = 0; k < 3; ++k)
                d += m.at(k, i) * m.at(k, j);
            if (std::abs(d - (i == j ? 1.0 : 0.0)) > kTolerance)
                return false;
        }
    // A placement multiplied by an inverse carries rounding in its last row.
    constexpr double kRounding = 1e-12;
    return std::abs(m.at(3, 0)) <= kRounding && std::abs(m.at(3, 1)) <= kRounding &&
           std::abs(m.at(3, 2)) <= kRounding && std::abs(m.at(3, 3) - 1.0) <= kRounding &&
           determinant(m.data(), 4) > 0.0;
}

std::array<double, 4> quaternionOf(const Matrix4& m) {
    std::array<double, 4> q = nearestQuaternion(m);
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q)
        c /= length;
    return q;
}

Matrix4 rotationOf(const std::array<double, 4>& q) {
    const auto [x, y, z, w] = q;
    Matrix4 m;
    m.at(0, 0) = 1.0 - 2.0 * (y * y + z * z);
    m.at(0, 1) = 2.0 * (x * y - z * w);
    m.at(0, 2) = 2.0 * (x * z + y * w);
    m.at(1, 0) = 2.0 * (x * y + z * w);
    m.at(1, 1) = 1.0 - 2.0 * (x * x + z * z);
    m.at(1, 2) = 2.0 * (y * z - x * w);
    m.at(2, 0) = 2.0 * (x * z - y * w);
    m.at(2, 1) = 2.0 * (y * z + x * w);
    m.at(2, 2) = 1.0 - 2.0 * (x * x + y * y);
    return m;
}

Matrix4 blendPlacements(const Matrix4& from, const Matrix4& to, double share) {
    if (share <= 0.0)
        return from;
    if (share >= 1.0)
        return to;
    if (!isRigid(from) || !isRigid(to)) {
        Matrix4 mixed;
        for (int i = 0; i < 16; ++i)
            mixed[i] = from[i] + (to[i] - from[i]) * share;
        return mixed;
    }
    std::array<double, 4> a = quaternionOf(from);
    const std::array<double, 4> b = quaternionOf(to);
    double cosine = 0.0;
    for (int i = 0; i < 4; ++i)
        cosine += a[i] * b[i];
    if (cosine < 0.0) {
        for (double& c : a)
            c = -c;
        cosine = -cosine;
    }
    // Nearly the same rotation: a straight mix, renormalised, is exact enough and
    // keeps the division below well away from zero.
    double wa = 1.0 - share, wb = share;
    if (cosine < 0.9995) {
        const double angle = std::acos(cosine);
        wa = std::sin((1.0 - share) * angle) / std::sin(angle);
        wb = std::sin(share * angle) / std::sin(angle);
    }
    std::array<double, 4> q;
    double length = 0.0;
    for (int i = 0; i < 4; ++i) {
        q[i] = wa * a[i] + wb * b[i];
        length += q[i] * q[i];
    }
    for (double& c : q)
        c /= std::sqrt(length);
    Matrix4 blended = rotationOf(q);
    const Vector3 origin = from.translationPart() * (1.0 - share) + to.translationPart() * share;
    blended.setTranslation(origin);
    return blended;
}
