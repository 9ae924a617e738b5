#pragma once

#include "math/Matrix4.h"
#include "math/Rgba.h"
#include "math/Vector3.h"

#include <bit>
#include <cstdint>
#include <vector>

// A 64-bit fingerprint of drawn content, built up value by value: equal content
// gives equal fingerprints, and different content collides with a chance of about
// one in 2^64 per pair. Never 0, so that 0 can stand for "no fingerprint".
class ContentHash {
public:
    ContentHash& add(std::uint64_t v) {
        h_ = (h_ ^ v) * 0x9E3779B97F4A7C15ull;
        h_ ^= h_ >> 29;
        return *this;
    }
    ContentHash& add(int v) { return add(static_cast<std::uint64_t>(static_cast<std::int64_t>(v))); }
    ContentHash& add(bool v) { return add(static_cast<std::uint64_t>(v ? 1 : 2)); }
    ContentHash& add(double v) { return add(std::bit_cast<std::uint64_t>(v)); }
    ContentHash& add(float v) { return add(static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(v))); }
    ContentHash& add(const Vector3& v) { return add(v.x).add(v.y).add(v.z); }
    ContentHash& add(const Rgba& c) { return add(c.r).add(c.g).add(c.b).add(c.a); }
    ContentHash& add(const Matrix4& m) {
        for (int i = 0; i < 16; ++i)
            add(m[i]);
        return *this;
    }
    ContentHash& add(const std::vector<Vector3>& points) {
        add(static_cast<std::uint64_t>(points.size()));
        for (const Vector3& p : points)
            add(p);
        return *this;
    }

    std::uint64_t value() const {
        std::uint64_t v = h_ ^ (h_ >> 31);
        v *= 0xBF58476D1CE4E5B9ull;
        v ^= v >> 27;
        return v == 0 ? 1 : v;
    }

private:
    std::uint64_t h_ = 0xCBF29CE484222325ull;
};
