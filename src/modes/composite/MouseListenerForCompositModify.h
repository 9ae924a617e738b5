#pragma once

#include "modes/MouseListenerState.h"

// Branches grown on the work plant (mode 7).
class MouseListenerForCompositModify final : public InactiveMouseListener {};
