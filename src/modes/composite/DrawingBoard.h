#pragma once

class Stroke;
struct Vector3;

// The board a branch stroke is drawn on, shown while it is drawn: a translucent
// yellow rectangle on the stroke's plane (through `planePoint`, facing along
// `normal`) that spans the stroke, seen from both sides, and a small axis cross at
// the plane point (x red, y green, z along the normal blue). Nothing in a pick
// snapshot; the GL state is left as the other passes expect it.
void drawDrawingBoard(const Stroke& stroke, const Vector3& planePoint, const Vector3& normal);
