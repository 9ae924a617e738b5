#pragma once

#include <functional>
#include <memory>
#include <string>

class FlowerObjectComposite;

// Applies an arrangement by rule (an inflorescence, leaves by phyllotaxis) to the
// plant being edited, through the commit point, as one undo step. Applied again
// while that step is still the last one, it replaces the step's result: the plant
// returns to what it was before the first application and is arranged anew, so a
// dialog can re-apply every change of its values to the same arrangement. One
// instance per dialog; it holds the plant's id, never a pointer to it.
class PlantArrangement {
public:
    // Builds the arrangement into the plant; whether it placed anything. It may say
    // why not in the message apply() was handed.
    using Arrange = std::function<bool(FlowerObjectComposite& plant)>;

    explicit PlantArrangement(std::string step);
    ~PlantArrangement();

    // Arranges the work object's plant; false with `message` set when there is no
    // plant with a drawn axis to arrange.
    bool apply(const Arrange& arrange, std::string& message);
    // Whether the next apply replaces the last step's result.
    bool revises() const;

private:
    std::string step_;
    // The plant as it was before the step, with the plant's id and the history state
    // the step left.
    std::unique_ptr<FlowerObjectComposite> before_;
    int plantId_ = -1;
    unsigned long long serial_ = 0;
};
