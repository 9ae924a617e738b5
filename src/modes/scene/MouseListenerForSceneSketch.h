#pragma once

#include "modes/MouseListenerState.h"

// The scene sketching mode (0): plants and sketches drawn into the open scene.
class MouseListenerForSceneSketch final : public InactiveMouseListener {
public:
    // Forgets a half-finished stroke or pick; called when a scene is opened.
    void resetTransientState() {}
};
