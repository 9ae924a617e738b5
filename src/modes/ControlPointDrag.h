#pragma once

#include "model/PickColour.h"

#include <optional>

class FlowerObjectNode;

// Whatever the main view's pick snapshot shows under a window pixel: the decoded
// pick colour and the window depth it was drawn at.
struct PickedPixel {
    PickRecord record;
    float depth = 1.0f;
};

// What lies under the pixel, when the snapshot shows anything there.
std::optional<PickedPixel> pickUnder(int x, int y);

// A control point under a window pixel of the main view's pick snapshot: the
// object it belongs to, its two indices and the window depth it was drawn at.
struct PickedControlPoint {
    int objectId = -1;
    int row = -1;
    int column = -1;
    float depth = 1.0f;
};

// The control point under the pixel, when the snapshot shows one there.
std::optional<PickedControlPoint> controlPointUnder(int x, int y);

// A control point held by the left button in an organ modify mode. The point
// keeps the window depth it was picked at, so that moving the mouse back to the
// press position puts it back. The object is found again by its id at every move:
// once it is gone (replaced or deleted meanwhile) the drag does nothing.
class ControlPointDrag {
public:
    void start(const FlowerObjectNode& target, const PickedControlPoint& picked);
    bool active() const { return active_; }
    // The held point's object, null when no point is held or the object is gone.
    FlowerObjectNode* target() const;
    // Moves the point under pixel (x, y) at its pick depth; false when nothing moved.
    bool moveTo(int x, int y) const;
    void reset();

    int row() const { return row_; }
    int column() const { return column_; }
    float depth() const { return depth_; }

private:
    bool active_ = false;
    int targetId_ = -1;
    float depth_ = 1.0f;
    int row_ = -1;
    int column_ = -1;
};
