#pragma once

#include "modes/MouseListenerState.h"
#include "interaction/Stroke.h"

// One stroke on the drawing plane z = 0 makes a pistil (mode 13): its outline, up
// one side and down the other, where it was drawn. The release point ends the
// outline. The camera stays where the creation command put it.
class MouseListenerForPistil : public MouseListenerState {
public:
    // Shorter outlines (the release point counted) make nothing.
    static constexpr int kMinimumPoints = 10;

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
    virtual ~MouseListenerForPistil() = default;

    const Stroke& stroke() const { return stroke_; }

private:
    Stroke stroke_;
};
