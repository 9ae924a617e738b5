#pragma once

#include "app/MouseListenerState.h"

// Clicks, drags and drops on the library view's tiles.
class MouseListenerForLib final : public InactiveMouseListener {};
