#include "starter/LeafTexture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kSide = 64;

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// How much of a vein covers the point (u across the blade, v from base to tip,
// both 0..1): the midrib up the middle and side veins leaving it towards the tip.
double veinAt(double u, double v) {
    const double midrib = std::max(0.0, 1.0 - std::abs(u - 0.5) / 0.025);
    const double side = std::abs(u - 0.5);
    // Each side vein rises as it leaves the midrib; eight of them up the blade.
    const double phase = (v - 1.2 * side) * 8.0;
    const double sideVein = std::max(0.0, 1.0 - std::abs(phase - std::round(phase)) / 0.12);
    return std::max(midrib, 0.7 * sideVein);
}

} // namespace

std::string leafTextureBmp() {
    constexpr int kRowBytes = kSide * 3; // a multiple of four: no row padding
    constexpr int kHeaderBytes = 14 + 40;
    std::string bmp;
    bmp.reserve(kHeaderBytes + kRowBytes * kSide);
    bmp += "BM";
    putLittleEndian(bmp, kHeaderBytes + kRowBytes * kSide, 4);
    putLittleEndian(bmp, 0, 4);
    putLittleEndian(bmp, kHeaderBytes, 4);
    putLittleEndian(bmp, 40, 4);
    putLittleEndian(bmp, kSide, 4);
    putLittleEndian(bmp, kSide, 4); // positive height: rows run bottom-up
    putLittleEndian(bmp, 1, 2);
    putLittleEndian(bmp, 24, 2);
    putLittleEndian(bmp, 0, 4); // no compression
    putLittleEndian(bmp, kRowBytes * kSide, 4);
    putLittleEndian(bmp, 2835, 4); // 72 dpi
    putLittleEndian(bmp, 2835, 4);
    putLittleEndian(bmp, 0, 4);
    putLittleEndian(bmp, 0, 4);
    for (int row = 0; row < kSide; ++row) {
        const double v = (row + 0.5) / kSide;
        for (int column = 0; column < kSide; ++column) {
            const double u = (column + 0.5) / kSide;
            // Darker at the base, lighter towards the tip; veins pale yellow-green.
            const double vein = veinAt(u, v);
            const double red = (40.0 + 30.0 * v) * (1.0 - vein) + 190.0 * vein;
            const double green = (110.0 + 50.0 * v) * (1.0 - vein) + 225.0 * vein;
            const double blue = (30.0 + 10.0 * v) * (1.0 - vein) + 120.0 * vein;
            bmp.push_back(static_cast<char>(std::lround(blue)));
            bmp.push_back(static_cast<char>(std::lround(green)));
            bmp.push_back(static_cast<char>(std::lround(red)));
        }
    }
    return bmp;
}
