#pragma once

// What a finished user action changed, for the commit that publishes it. The first
// three are changes of the model (they make the library unsaved); the others only
// change what the views show.
enum Change : unsigned {
    kChangeWorkObject = 1u << 0,  // the work object was replaced or edited
    kChangeScene = 1u << 1,       // the open scene or the focus inside it changed
    kChangeLibrary = 1u << 2,     // a library entry was added, removed or renewed
    kChangeMainView = 1u << 3,    // mode, camera or a display switch: repaint and re-pick
    kChangeLibraryView = 1u << 4, // category, selection or floral diagram shown
    kChangeOverallView = 1u << 5, // the overall window's camera
    kChangeTool = 1u << 6,        // the drawing tool: only the status line follows
};
inline constexpr unsigned kModelChanges = kChangeWorkObject | kChangeScene | kChangeLibrary;
