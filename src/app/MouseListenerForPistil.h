#pragma once

#include "app/MouseListenerState.h"

// One stroke makes a pistil (mode 13).
class MouseListenerForPistil : public InactiveMouseListener {
public:
    virtual ~MouseListenerForPistil() = default;
};
