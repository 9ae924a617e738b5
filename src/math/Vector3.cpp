#include "math/Vector3.h"

Vector3 Vector3::normalized() {
    normalize();
    return *this;
}
