#pragma once

#include "modes/MouseListenerState.h"

// Opens the shared protocols of the listener base to the tests.
class ListenerProbe final : public MouseListenerState {
public:
    using MouseListenerState::beginDolly;
    using MouseListenerState::beginOrbit;
    using MouseListenerState::beginPan;
    using MouseListenerState::dragCamera;
    using MouseListenerState::dragCameraWithButtons;
    using MouseListenerState::endMiddleDrag;
    using MouseListenerState::endRightDrag;
    using MouseListenerState::extendStroke;
    using MouseListenerState::hitPlaneThroughPoint;
    using MouseListenerState::hitPlaneY0;
    using MouseListenerState::hitPlaneZ0;
    using MouseListenerState::hitViewPlane;
    using MouseListenerState::pixelNearPoint;
    using MouseListenerState::startStroke;
};
