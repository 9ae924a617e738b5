#pragma once

class TOGL;

// The windows as the controller sees them. The window shell implements it; without
// a host (tests, the command-line tool) nothing is redrawn and nothing is rendered.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    // Immediate, synchronous repaints of the three windows (the controller decides
    // when to ask for them).
    virtual void redrawMainView() = 0;
    virtual void redrawOverallView() = 0;
    virtual void redrawLibraryView() = 0;
    // The rendering contexts of the main view and the overall window; null while the
    // window does not exist.
    virtual TOGL* mainContext() = 0;
    virtual TOGL* overallContext() = 0;
};
