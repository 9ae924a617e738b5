#pragma once

#include "interaction/Stroke.h"
#include "math/Vector3.h"
#include "modes/CameraButtonListener.h"

// The start-up mode (8): a stroke drawn up from the ground starts a plant. The
// stroke begins on the ground under the cursor and runs on the upright plane
// through that point facing the camera. On release the plant, standing at the
// origin, becomes the work object and branches are drawn on it in mode 7: a
// composite selected in the library takes the stroke as its axis, anything else
// (a default stem when nothing is selected) is carried along the stroke by a new
// composite. The right button orbits and the middle button dollies the camera.
class MouseListenerForComposite final : public CameraButtonListener {
public:
    // Shorter strokes make nothing.
    static constexpr int kMinimumPoints = 3;

    void onLButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext&) override { stroke_.drawSketch(); }

private:
    void clear();

    Stroke stroke_;
    Vector3 planePoint_;
    Vector3 planeNormal_;
};
