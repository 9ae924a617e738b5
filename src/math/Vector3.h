#pragma once

#include <algorithm>
#include <cmath>

// A point or direction in double precision. `degenerate` is false after every
// operation except normalising a zero-length vector, which leaves the vector as it
// was and raises the flag so that callers can tell "no direction" from a real one.
struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    bool degenerate = false;

    constexpr Vector3() = default;
    constexpr Vector3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    void set(double x_, double y_, double z_) {
        x = x_;
        y = y_;
        z = z_;
        degenerate = false;
    }

    double lengthSquared() const { return x * x + y * y + z * z; }
    double length() const { return std::sqrt(lengthSquared()); }

    // Divides by the length. A zero vector keeps its value, is marked degenerate and
    // the result is false.
    bool normalize() {
        const double len = length();
        if (len == 0.0) {
            degenerate = true;
            return false;
        }
        x /= len;
        y /= len;
        z /= len;
        degenerate = false;
        return true;
    }

    // Normalises in place and returns a copy. A zero vector is left as it is (and
    // marked degenerate) instead of turning into NaNs that would spread into geometry.
    Vector3 normalized();

    Vector3 operator-() const { return {-x, -y, -z}; }
    Vector3& operator+=(const Vector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        degenerate = false;
        return *this;
    }
    Vector3& operator-=(const Vector3& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        degenerate = false;
        return *this;
    }
    Vector3& operator*=(double k) {
        x *= k;
        y *= k;
        z *= k;
        degenerate = false;
        return *this;
    }
};

inline Vector3 operator+(const Vector3& a, const Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator*(const Vector3& v, double k) {
    return {k * v.x, k * v.y, k * v.z};
}
inline Vector3 operator*(double k, const Vector3& v) {
    return v * k;
}
inline Vector3 operator/(const Vector3& v, double k) {
    return {v.x / k, v.y / k, v.z / k};
}

// Exact comparison of the coordinates; the flag is not compared.
inline bool operator==(const Vector3& a, const Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

inline Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline double distance(const Vector3& a, const Vector3& b) {
    return (a - b).length();
}

// A unit copy of v; the zero vector comes back unchanged and marked degenerate.
inline Vector3 unit(Vector3 v) {
    v.normalize();
    return v;
}

// Widens the axis-aligned box [min, max] component-wise so that it contains `p`.
inline void widenBox(Vector3& min, Vector3& max, const Vector3& p) {
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}
