#include "model/LocalBox.h"

LocalBox placedBox(const LocalBox& box, const Matrix4& placement) {
    const Vector3 first = transformPoint(placement, box.corner(0));
    LocalBox placed{first, first};
    for (int i = 1; i < 8; ++i)
        widenBox(placed.min, placed.max, transformPoint(placement, box.corner(i)));
    return placed;
}
