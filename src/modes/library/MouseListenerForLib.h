#pragma once

#include "modes/MouseListenerState.h"

// Clicks, drags and drops on the library view's tiles.
class MouseListenerForLib final : public InactiveMouseListener {};
