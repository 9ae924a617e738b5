#pragma once

#include "app/MouseListenerState.h"

// The pistil re-sketched and its outline dragged (mode 14).
class MouseListenerForPistilModify : public InactiveMouseListener {
public:
    virtual ~MouseListenerForPistilModify() = default;
};
