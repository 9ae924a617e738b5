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
    return m.at(3, 0) == 0.0 && m.at(3, 1) == 0.0 && m.at(3, 2) == 0.0 && m.at(3, 3) == 1.0 &&
           determinant(m.data(), 4) > 0.0;
}

std::array<double, 4> quaternionOf(const Matrix4& m) {
    std::array<double, 4> q = nearestQuaternion(m);
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q)
        c /= length;
    return q;
}
