#pragma once

#include "modes/OrganModifyListener.h"

// Editing the stamen that is the work object (mode 12): a stroke drawn away from
// the control points is the anther, carried onto the plane through the filament's
// end that faces the camera.
class MouseListenerForStamenModify : public OrganModifyListener {
public:
    // Shorter anther strokes are ignored.
    static constexpr int kMinimumPoints = 3;

    virtual ~MouseListenerForStamenModify() = default;

protected:
    bool mayDraw() const override;
    void strokeStarted(int x, int y, FlowerObjectNode* work) override;
    // Nothing happens when a ray runs parallel to the anther's plane.
    std::string finishStroke(const Stroke& stroke) override;

private:
    // The work object at the press, while the anther is drawn.
    int targetId_ = -1;
};
