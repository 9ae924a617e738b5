#pragma once

#include "math/Rgba.h"
#include "model/DisplaySwitches.h"
#include "model/Parameters.h"

// The tools of the scene modes.
enum DrawingTool : int {
    kToolPen = 0,
    kToolCursor = 1,
    kToolEraser = 2,
    kToolBrowsing = 3,
    kToolAxisModify = 4,
    kToolBranchBillboard = 5,
    kToolFlowerBillboard = 6,
    kToolLeafBillboard = 7,
};

// The moment of the flowers' bloom the views show, set in the time dialog: 1 shows
// them as modelled, the only moment at which they can be edited.
struct BloomSettings {
    double time = 1.0;
    // A plant's flower heads open from the top down instead of from the bottom up.
    bool topFirst = false;

    bool editable() const { return time >= 1.0; }
};

// What the user set for editing and viewing: the drawing tool, the attachment rule,
// the sketch colour, the display switches and the tessellation parameters. The
// controller owns the one record; commands and dialogs change it, the modes, views
// and plant objects read it. A change here is no edit of the model: it has no undo
// step.
struct EditorSettings {
    int drawingTool = kToolPen;
    // The rule the petal-editing modes update control points by; no command changes
    // it.
    int controlPointVariant = 0;
    // 0 attaches objects upright ("z direction Up"), 1 towards the viewer ("Here").
    int zDirection = 0;
    Rgba sketchColour{1.0f, 1.0f, 0.0f, 0.5f};
    // The stamen editing mode reshapes stamens only while it is set; no command
    // changes it.
    bool stamenEditEnabled = true;
    bool showFloor = true;
    bool showControlPoints = false;
    bool showWireFrame = false;
    // Every surface drawn from its full grid, nothing skipped, however small or far
    // it stands: the views otherwise draw small objects at the detail their size on
    // screen shows.
    bool fullDetail = false;
    // Billboards, sketches and organ strokes: read by the drawing code.
    DisplaySwitches display;
    // The tessellation values the parameter dialog edits and the organs read.
    Parameters parameters;
    BloomSettings bloom;
};
