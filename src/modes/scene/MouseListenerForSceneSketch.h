#pragma once

#include "modes/scene/SceneListener.h"

// The scene sketching mode (0): the whole open scene, no focus. What the left
// button does follows the drawing tool chosen when it went down:
// - Pen: a stroke from the ground, drawn on the upright plane through its first
//   point facing the camera, plants the library view's selection along it.
// - Cursor: dragging a plant rolls it like a trackball about its base.
// - Eraser: the part under the cursor goes, at the press and at every move.
// - Browsing: pans the camera.
// A double click on a plant or part flies the focus down to it; the right button
// orbits, its double click moves the focus up.
class MouseListenerForSceneSketch final : public SceneListener {
public:
    // Shorter ground strokes plant nothing.
    static constexpr int kMinimumPoints = 4;

    void onLButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onLButtonDblClk(int x, int y) override;
    void onRButtonDblClk(int x, int y) override;

private:
    bool dragLeft(int x, int y) override;
    // Rolls the selected plant by the drag to (x, y); whether it turned.
    bool rollTo(SceneRoot& scene, int x, int y);

    // The plant the Cursor drag rolls, by id.
    int rolledId_ = -1;
};
