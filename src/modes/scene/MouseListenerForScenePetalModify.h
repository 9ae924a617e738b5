#pragma once

#include "modes/scene/SceneListener.h"

class FlowerPetalNode;

// The focused petal or leaf edited where it stands in the scene (mode 5), as the
// petal editor of the creation modes edits its petal, but through the focus's
// model matrix: the Cursor drags the control point under it, the Pen draws a
// bending stroke from one edge control point to another, Browsing pans. A double
// click beside everything flies the focus up.
class MouseListenerForScenePetalModify final : public SceneListener {
public:
    // Shorter bending strokes are ignored.
    static constexpr int kMinimumPoints = 4;

    void onLButtonDown(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    void onLButtonDblClk(int x, int y) override { flyUpOverEmpty(x, y); }
    void onDraw(const DrawContext& draw) override;

private:
    // Every tool but Axis Modify.
    bool orbitsWith(int tool) const override;
    bool dragLeft(int x, int y) override;
    // Bends the petal by the stroke on the view plane; whether it changed.
    bool bend(FlowerPetalNode& petal, const Matrix4& matrix) const;

    // The stroke as it is shown, just beyond the near plane; the one on the view
    // plane that bends is the base's stroke.
    Stroke nearStroke_;
    int petalId_ = -1;
};
