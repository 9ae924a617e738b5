#include "math/Vector3.h"

bool Vector3::normalize() {
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

Vector3 Vector3::normalized() {
    normalize();
    return *this;
}
