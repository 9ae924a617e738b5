#pragma once

#include "control/FloralDiagram.h"
#include "modes/MouseListenerState.h"

// The library view's mouse: a click or a double click selects a tile's entry (what
// plants and slots receive; the "nothing" tile selects a plain stem), a right
// double click opens a copy of the entry for editing, a tile dragged onto the
// "nothing" tile deletes its entry, a tile dropped onto an organ of the floral
// diagram fills it (or every marked organ) with copies, the left button drags the
// diagram's organs and rings, and the right button marks a band of the diagram.
class MouseListenerForLib final : public MouseListenerState {
public:
    void onLButtonUp(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onRButtonDown(int x, int y) override;
    void onLButtonDblClk(int x, int y) override;
    void onRButtonDblClk(int x, int y) override;
    void onMouseMove(int x, int y) override;

private:
    // The position of the tile under the pixel in the shown category, the "nothing"
    // tile's 0 included; -1 for the gaps and empty cells.
    static int tileAt(int x, int y);
    // The id of the entry whose tile is under the pixel in the shown category; -1
    // for the gaps, the "nothing" tile and empty cells.
    static int entryAt(int x, int y);
    // Selects the tile at the position of the shown category.
    static void select(int position);
    // A copy of the entry becomes the object being edited, in the mode of its kind.
    static void openForEditing(int id);
    // The pixel's distance from the diagram's centre, in whole pixels.
    static int diagramDistance(int x, int y);
    void reset();

    int pressedPosition_ = -1;
    int pressedId_ = -1;
    bool diagramDrag_ = false;
    DiagramHit hit_;
    // Whether the diagram drag has moved anything, to be published at the release.
    bool dragged_ = false;
    bool marking_ = false;
    int markRadius_ = 0;
};
