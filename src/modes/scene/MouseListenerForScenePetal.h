#pragma once

#include "modes/MouseListenerState.h"

// Petals and leaves sketched onto the focus in a scene (mode 2).
class MouseListenerForScenePetal final : public InactiveMouseListener {};
