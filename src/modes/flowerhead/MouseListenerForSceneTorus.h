#pragma once

#include "modes/flowerhead/ReceptacleEditing.h"
#include "modes/scene/BillboardSketching.h"

// The flower head editing mode of a scene (3): the receptacle edits act on the
// focused receptacle where it stands, through its model matrix. The profile is drawn
// on a board sized to the receptacle. The billboard tools sketch billboards as in
// the other scene modes, and a click selects one. A double click on another object
// focuses it; beside everything the focus flies up.
class MouseListenerForSceneTorus final : public ReceptacleEditing {
public:
    static constexpr Rgba kGuideBoardColour{0.0f, 0.5f, 0.5f, 0.3f};
    // An organ turns by this many radians per pixel of drag.
    static constexpr double kTurnPerPixel = 0.001;

    void onLButtonDown(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    void onLButtonDblClk(int x, int y) override;
    void onDraw(const DrawContext& draw) override;
    // Forgets a half-finished stroke or pick; called when a scene is opened.
    void resetTransientState();

protected:
    EditedReceptacle currentReceptacle() const override;
    void drawGuideBoard(const FlowerTorusNode& receptacle) const override;
    OrganTurn turnBetween(int fromX, int fromY, int toX, int toY) const override;
    void receptacleReshaped() override;
    bool pressOtherTool(int tool, int x, int y) override;
    void dragOtherTool(int x, int y) override;

private:
    BillboardSketching billboard_;
    Stroke billboardStroke_;
    Vector3 planePoint_;
    Vector3 planeNormal_;
    bool drawingBillboard_ = false;
    int pressX_ = -1;
    int pressY_ = -1;
};
