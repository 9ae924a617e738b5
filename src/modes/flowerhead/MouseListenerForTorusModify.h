#pragma once

#include "modes/flowerhead/ReceptacleEditing.h"

// The flower head editing mode of the work object (6): the receptacle edits act on
// the work object while it is a receptacle, placed at the origin. A double click on
// an organ selects or deselects its slot; a double click beside the flower
// deselects every slot.
class MouseListenerForTorusModify final : public ReceptacleEditing {
public:
    static constexpr Rgba kGuideBoardColour{0.0f, 0.7f, 0.7f, 0.4f};
    // A drag of one world unit on the view plane turns an organ by this many radians.
    static constexpr double kTurnPerUnit = 1.5;

    void onLButtonDblClk(int x, int y) override { toggleSelectionAt(x, y); }

protected:
    EditedReceptacle currentReceptacle() const override;
    void drawGuideBoard(const FlowerTorusNode& receptacle) const override;
    OrganTurn turnBetween(int fromX, int fromY, int toX, int toY) const override;
};
