#pragma once

#include "modes/MouseListenerState.h"

// The flower head editing mode of the work object (6).
class MouseListenerForTorusModify final : public InactiveMouseListener {};
