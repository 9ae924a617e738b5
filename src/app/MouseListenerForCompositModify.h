#pragma once

#include "app/MouseListenerState.h"

// Branches grown on the work plant (mode 7).
class MouseListenerForCompositModify final : public InactiveMouseListener {};
