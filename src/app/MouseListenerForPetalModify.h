#pragma once

#include "app/MouseListenerState.h"

// The petal's control points dragged, the petal bent (mode 10).
class MouseListenerForPetalModify : public InactiveMouseListener {
public:
    virtual ~MouseListenerForPetalModify() = default;
};
