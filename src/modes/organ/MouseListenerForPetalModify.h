#pragma once

#include "modes/OrganModifyListener.h"

class FlowerPetalNode;

// Editing the petal that is the work object (mode 10), with the organ editor's
// camera and control point drag. With control points shown a press beside every
// control point does nothing; otherwise the left button draws a bending stroke
// between control points of the petal's edge:
// - from the base to the tip, the petal bends along its midrib;
// - from one side edge to the other, the rows lift across the petal;
// - from the midrib out to one side, that side curls.
// The stroke is shown just beyond the near plane while it is drawn.
class MouseListenerForPetalModify : public OrganModifyListener {
public:
    // Shorter bending strokes are ignored.
    static constexpr int kMinimumPoints = 4;

    // Every release repaints the main view.
    void onLButtonUp(int x, int y) override;
    void onDraw(const DrawContext& draw) override;
    virtual ~MouseListenerForPetalModify() = default;

protected:
    // The picked object, found by its id.
    FlowerObjectNode* dragTarget(const PickedControlPoint& picked) const override;
    bool mayDraw() const override;
    void strokeStarted(int x, int y, FlowerObjectNode* work) override;
    void strokeExtended(int x, int y) override;
    // Bends the petal, which then puts its axis back on the midrib.
    std::string finishStroke(const Stroke& stroke) override;
    void dragFinished(FlowerObjectNode& target) override;

private:
    // Applies the bending stroke drawn on the view plane to the petal; whether it
    // changed the petal.
    static bool bend(FlowerPetalNode& petal, const Stroke& stroke);

    // The stroke as it is shown, at window depth 0.01.
    Stroke nearStroke_;
};
