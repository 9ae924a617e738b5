#pragma once

#include "modes/MouseListenerState.h"

// The stamen editing mode of a scene (4).
class MouseListenerForSceneStamen final : public InactiveMouseListener {};
