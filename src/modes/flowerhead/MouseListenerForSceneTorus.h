#pragma once

#include "modes/flowerhead/ReceptacleEditing.h"

// The flower head editing mode of a scene (3): the receptacle edits act on the
// focused receptacle where it stands, through its model matrix. The profile is drawn
// on a board sized to the receptacle. A double click on another object focuses it;
// beside everything the focus flies up.
class MouseListenerForSceneTorus final : public ReceptacleEditing {
public:
    static constexpr Rgba kGuideBoardColour{0.0f, 0.5f, 0.5f, 0.3f};
    // An organ turns by this many radians per pixel of drag.
    static constexpr double kTurnPerPixel = 0.001;

    void onLButtonDblClk(int x, int y) override;
    // Forgets a half-finished stroke or pick; called when a scene is opened.
    void resetTransientState();

protected:
    EditedReceptacle currentReceptacle() const override;
    void drawGuideBoard(const FlowerTorusNode& receptacle) const override;
    OrganTurn turnBetween(int fromX, int fromY, int toX, int toY) const override;
    void receptacleReshaped() override;
};
