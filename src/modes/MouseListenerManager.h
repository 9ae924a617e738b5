#pragma once

#include "control/ModeHost.h"
#include "modes/MouseListenerState.h"

// Holds the listener that receives the main view's mouse messages (the one of the
// current interaction mode) and the library view's listener, and forwards the
// views' messages. It is the controller's mode host: the controller's mode switch
// makes the mode's listener current here. Every message ends in the controller's
// commit, which publishes what it changed.
class MouseListenerManager final : public ModeHost {
public:
    // Installs itself in the controller and starts in mode 8 (the plant creation
    // mode).
    MouseListenerManager();
    ~MouseListenerManager() override;
    MouseListenerManager(const MouseListenerManager&) = delete;
    MouseListenerManager& operator=(const MouseListenerManager&) = delete;

    // The singleton listener of a mode 0..14; null for any other value.
    static MouseListenerState* listenerForMode(int mode);

    void activateMode(int mode) override;
    void forgetSceneInteraction() override;
    void preparePetal(bool fromSketch) override;

    MouseListenerState& mainListener() const { return *mainListener_; }
    MouseListenerState& libraryListener() const { return *libraryListener_; }

    void mainViewMessage(MouseMessage message, int x, int y);
    void libraryViewMessage(MouseMessage message, int x, int y);
    // The current mode's overlay, drawn in every paint of the main view.
    void drawMainOverlay(const DrawContext& draw);

private:
    MouseListenerState* mainListener_;
    MouseListenerState* libraryListener_;
};

MouseListenerManager& mouseListenerManager();
