#include "modes/BranchSide.h"

#include "control/AppController.h"
#include "interaction/Stroke.h"

Vector3 branchSide(const Stroke& stroke, const Vector3& planeNormal) {
    if (appController().settings().zDirection != 0)
        return planeNormal;
    Vector3 side = cross(stroke.back() - stroke.front(), planeNormal);
    if (side.length() == 0.0)
        return planeNormal;
    side = unit(side);
    return side.y < 0.0 ? side * -1.0 : side;
}
