#pragma once

#include "app/MouseListenerState.h"

// Three strokes make a petal (mode 9).
class MouseListenerForPetal : public InactiveMouseListener {
public:
    virtual ~MouseListenerForPetal() = default;
};
