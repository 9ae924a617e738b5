#pragma once

#include "modes/MouseListenerState.h"

// The scene editing mode (1): the focus is turned, erased and re-sketched.
class MouseListenerForSceneModify final : public InactiveMouseListener {
public:
    // Forgets a half-finished stroke or pick; called when a scene is opened.
    void resetTransientState() {}
};
