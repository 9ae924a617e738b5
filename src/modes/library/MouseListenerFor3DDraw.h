#pragma once

#include "interaction/Stroke.h"
#include "modes/CameraButtonListener.h"

// Free drawing in the 3D view, outside the mode table: strokes on the view plane
// with the usual camera buttons; a right double click smooths the stroke.
class MouseListenerFor3DDraw final : public CameraButtonListener {
public:
    void onLButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onRButtonDblClk(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext&) override { stroke_.drawSketch(); }

private:
    Stroke stroke_;
};
