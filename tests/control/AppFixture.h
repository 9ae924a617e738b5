#pragma once

#include "control/AppController.h"
#include "control/ControlSingletons.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "support/ModelRecords.h"

#include <gtest/gtest.h>

#include <memory>

// Every test starts with fresh singletons and leaves none behind: the controller
// and the interaction states are created on first use as in the program.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override { destroyControlSingletons(); }
    void TearDown() override { destroyControlSingletons(); }

    static AppController& controller() { return appController(); }
    // The controller's ids and parameters, which objects a test adds to its model
    // are built with.
    static ModelRecords records() {
        return {appController().ids(), appController().settings().parameters};
    }

    // A plant with a two-point axis and a fresh id.
    static std::unique_ptr<FlowerObjectComposite> newPlant() {
        auto plant = std::make_unique<FlowerObjectComposite>(appController().nextId());
        plant->mainAxis.add({0, 0, 0});
        plant->mainAxis.add({0, 1, 0});
        return plant;
    }
    static std::unique_ptr<SceneRoot> newScene() {
        return std::make_unique<SceneRoot>(appController().nextId());
    }
};
