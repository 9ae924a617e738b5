#pragma once

#include "math/Vector3.h"

#include <memory>
#include <string>

class FlowerObjectComposite;
class FlowerObjectNode;
class Stroke;

// What the plant modes grow plants with, in the plant's own frame.

// The object as a plant part: a composite as it is, anything else carried along its
// own axis by a new composite.
std::unique_ptr<FlowerObjectComposite> asPlant(std::unique_ptr<FlowerObjectNode> object);

// Grows the plant by a stroke drawn from its main axis on the plane with
// `planeNormal`. From the axis's last point (`atTip`) the stroke extends the axis
// carrying `part`; from arc length `axisLength` it grows a branch carrying `part`,
// turned towards the viewer ("z direction Here") or across the stroke and upwards
// ("z direction Up"). The step name of the change.
std::string growFromAxis(FlowerObjectComposite& plant, std::unique_ptr<FlowerObjectNode> part,
                         const Stroke& stroke, const Vector3& planeNormal, bool atTip,
                         double axisLength);
