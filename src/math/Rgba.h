#pragma once

// An RGBA colour or material term, as OpenGL's glMaterialfv and glColor4fv take it.
struct Rgba {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    const float* data() const { return &r; }
    bool operator==(const Rgba&) const = default;
};
