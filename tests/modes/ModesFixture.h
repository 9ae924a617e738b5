#pragma once

#include "control/AppFixture.h"
#include "control/ControlSingletons.h"
#include "modes/ModeSingletons.h"

// Fresh interaction states and a fresh controller for every test.
class ModesFixture : public AppFixture {
protected:
    void SetUp() override {
        destroyModeSingletons();
        destroyControlSingletons();
    }
    void TearDown() override { SetUp(); }
};
