#pragma once

#include "modes/MouseListenerState.h"

// Free drawing in the 3D view, outside the mode table.
class MouseListenerFor3DDraw final : public InactiveMouseListener {};
