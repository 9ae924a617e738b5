#pragma once

#include "modes/scene/SceneListener.h"

// The focused stamen edited where it stands in a scene (4). The Pen (or Axis Modify)
// redraws its filament when the stroke starts at the stamen's base, else its anther,
// drawn on the plane through the filament's end facing the viewer. The Cursor drags
// a control point, the Eraser takes the anther off, Browsing pans. A double click
// beside everything flies the focus up.
class MouseListenerForSceneStamen final : public SceneListener {
public:
    // How near the pick ray must pass the base for a stroke to redraw the filament.
    static constexpr double kBaseReach = 0.01;
    // Shorter strokes change nothing.
    static constexpr int kMinimumPoints = 3;

    void onLButtonDown(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    void onLButtonDblClk(int x, int y) override { flyUpOverEmpty(x, y); }

private:
    // Every tool but Axis Modify.
    bool orbitsWith(int tool) const override;
    bool dragLeft(int x, int y) override;

    bool axisStroke_ = false;
    int stamenId_ = -1;
};
