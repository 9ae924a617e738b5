#pragma once

// The display switches that drawing reads; the controller owns and toggles them.
struct DisplaySwitches {
    bool drawStrokes = true;
    bool showSketch = true;
    bool showBillboard = false;
};
