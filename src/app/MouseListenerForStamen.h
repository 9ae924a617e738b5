#pragma once

#include "app/MouseListenerState.h"

// One stroke makes a stamen (mode 11).
class MouseListenerForStamen : public InactiveMouseListener {
public:
    virtual ~MouseListenerForStamen() = default;
};
