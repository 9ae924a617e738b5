#pragma once

#include "modes/MouseListenerState.h"
#include "interaction/Stroke.h"

// One stroke on the drawing plane z = 0 makes a stamen (mode 11): the filament,
// moved so that it starts at the origin. The camera stays where the creation
// command put it.
class MouseListenerForStamen : public MouseListenerState {
public:
    // Shorter filament strokes make nothing.
    static constexpr int kMinimumPoints = 4;

    void onLButtonUp(int x, int y) override;
    void onRButtonUp(int, int) override {}
    void onMButtonUp(int, int) override {}
    void onLButtonDown(int x, int y) override;
    void onRButtonDown(int, int) override {}
    void onMButtonDown(int, int) override {}
    void onLButtonDblClk(int, int) override {}
    void onRButtonDblClk(int, int) override {}
    void onMButtonDblClk(int, int) override {}
    void onMouseMove(int x, int y) override;
    void onDraw() override { stroke_.drawSketch(); }
    virtual ~MouseListenerForStamen() = default;

    const Stroke& stroke() const { return stroke_; }

private:
    Stroke stroke_;
};
