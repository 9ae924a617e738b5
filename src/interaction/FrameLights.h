#pragma once

// Places the three lights in world coordinates. Called at the start of every
// main-view and overall-window frame, after the camera transform is loaded; it
// replaces the position light 0 gets at GL set-up.
void placeFrameLights();
