#pragma once

#include "modes/MouseListenerState.h"

// The start-up mode (8): a stroke up from the ground makes a plant.
class MouseListenerForComposit final : public InactiveMouseListener {};
