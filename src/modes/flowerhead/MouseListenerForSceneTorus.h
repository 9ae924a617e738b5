#pragma once

#include "modes/MouseListenerState.h"

// The flower head editing mode of a scene (3).
class MouseListenerForSceneTorus final : public InactiveMouseListener {
public:
    // Forgets a half-finished stroke or pick; called when a scene is opened.
    void resetTransientState() {}
};
