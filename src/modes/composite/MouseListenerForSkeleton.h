#pragma once

#include "modes/MouseListenerState.h"

// Created with the listener manager and never made current.
class MouseListenerForSkeleton final : public InactiveMouseListener {};
