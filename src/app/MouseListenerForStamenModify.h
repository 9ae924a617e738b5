#pragma once

#include "app/MouseListenerState.h"

// The stamen re-sketched and given an anther (mode 12).
class MouseListenerForStamenModify : public InactiveMouseListener {
public:
    virtual ~MouseListenerForStamenModify() = default;
};
