#pragma once

#include "math/Vector3.h"

class Stroke;

// The side a new branch turns to, for a stroke drawn on the plane with this normal:
// towards the viewer ("z direction Here"), or across the stroke and upwards
// ("z direction Up"); a stroke without a chord has no across, and then faces the
// viewer too.
Vector3 branchSide(const Stroke& stroke, const Vector3& planeNormal);
