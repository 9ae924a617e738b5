#pragma once

#include "modes/MouseListenerState.h"

// The petal editing mode of a scene (5).
class MouseListenerForScenePetalModify final : public InactiveMouseListener {};
