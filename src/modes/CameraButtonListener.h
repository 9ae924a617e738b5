#pragma once

#include "modes/MouseListenerState.h"

// A mode that moves the camera with the other buttons while the left one works:
// the right button orbits (with the drawing tools `orbitsWith` allows), the middle
// button dollies, and releasing either ends the drag and repaints and re-picks the
// main view at the commit. Moves while only these buttons are held are the mode's
// to forward to `dragCameraWithButtons`.
class CameraButtonListener : public MouseListenerState {
public:
    void onRButtonDown(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    void onMButtonDown(int x, int y) override { beginDolly(x, y); }
    void onMButtonUp(int x, int y) override;

protected:
    ~CameraButtonListener() = default;

    // Whether the right button orbits with this drawing tool.
    virtual bool orbitsWith(int) const { return true; }
};
