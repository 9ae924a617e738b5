#pragma once

#include "math/PointSequence.h"
#include "math/Rgba.h"
#include "math/Vector3.h"

// Overlays that show the plane a stroke is being drawn on. Only the modes' overlay
// draws them, and the overlay is never part of the pick snapshot, so they can never
// be picked.

// A rectangle in the z = 0 plane of the current model-view frame, seen from both
// sides, translucent and without depth writes so that what lies behind it still
// shows and is still drawn.
void drawTranslucentRectangle(double left, double bottom, double right, double top,
                              const Rgba& colour);

// The board of a stroke drawn on the plane through `planePoint` facing `normal`:
// the rectangle of that plane that spans the stroke's points, and a small axis cross
// (x red, y green, z blue) at the plane point.
void drawDrawingBoard(const Vector3& planePoint, const Vector3& normal, const PointList& points,
                      const Rgba& colour);
