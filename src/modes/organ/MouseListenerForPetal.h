#pragma once

#include "modes/MouseListenerState.h"
#include "interaction/Stroke.h"

#include <array>

// Three strokes on the drawing plane z = 0 make a petal (mode 9): left outline,
// midrib and right outline, in any order. The strokes drawn so far survive leaving
// and re-entering the mode. Holding the right button suspends drawing; the camera
// stays where the creation command put it.
class MouseListenerForPetal : public MouseListenerState {
public:
    void onLButtonUp(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onRButtonDown(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onDraw(const DrawContext& draw) override;
    virtual ~MouseListenerForPetal() = default;

    // The strokes in drawing order, and how many of them are finished (0..2).
    const std::array<Stroke, 3>& strokes() const { return strokes_; }
    int finishedStrokes() const { return finished_; }

private:
    // Tries the three strokes as a petal; whatever comes of it, drawing starts over.
    void buildPetal();

    std::array<Stroke, 3> strokes_;
    int finished_ = 0;
};
