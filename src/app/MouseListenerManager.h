#pragma once

#include "app/MouseListenerState.h"

// Holds the listener that receives the main view's mouse messages (the one of the
// current interaction mode), the library view's listener and the never-used
// skeleton listener, performs the mode switches and forwards the views' messages.
class MouseListenerManager {
public:
    // Starts in mode 8 (the plant creation mode) and sets the controller's mode.
    MouseListenerManager();

    // The singleton listener of a mode 0..14; null for any other value.
    static MouseListenerState* listenerForMode(int mode);

    // Makes the mode's listener current, redraws the main view, sets the
    // controller's mode and refreshes the picks. Values outside 0..14 are ignored.
    void switchToMode(int mode);

    MouseListenerState& mainListener() const { return *mainListener_; }
    MouseListenerState& libraryListener() const { return *libraryListener_; }
    MouseListenerState& skeletonListener() const { return *skeletonListener_; }

    void mainViewMessage(MouseMessage message, int x, int y);
    void libraryViewMessage(MouseMessage message, int x, int y);
    // The current mode's overlay, drawn in every paint of the main view.
    void drawMainOverlay();

private:
    MouseListenerState* mainListener_;
    MouseListenerState* libraryListener_;
    MouseListenerState* skeletonListener_;
};

MouseListenerManager& mouseListenerManager();
