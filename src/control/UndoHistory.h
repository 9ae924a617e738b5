#pragma once

#include "control/ModelSnapshot.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

// How a recorded step joins the step before it.
enum class StepJoining {
    NewStep,
    // A change of one setting: the same step within kBurstGap replaces its result.
    Burst,
    // The same step made again with other values while it is still the last one
    // (nothing undone since): it replaces that step's result however late.
    Revision,
};

// The states the model went through, each reached by a named step, and where in
// them the model stands. Undo and redo move along them; a new step drops the states
// that were undone. The oldest states go first once there are more steps than the
// step limit, or the states hold more than the memory limit; the current state is
// never dropped.
class UndoHistory {
public:
    static constexpr std::size_t kDefaultStepLimit = 200;
    static constexpr std::size_t kDefaultByteLimit = std::size_t{256} << 20;
    // Changes of one setting that follow each other this closely are one step.
    static constexpr std::chrono::milliseconds kBurstGap{1500};

    UndoHistory() { start({}); }

    // Forgets every step: `current` is where the model stands.
    void start(ModelSnapshot current);
    // The step `name` led to `next`. A burst continuing the last step (the same name,
    // within kBurstGap, nothing undone), or a revision of it (the same name, nothing
    // undone), replaces that step's result instead.
    void record(const std::string& name, ModelSnapshot next,
                StepJoining joining = StepJoining::NewStep);

    bool canUndo() const { return cursor_ > 0; }
    bool canRedo() const { return cursor_ + 1 < states_.size(); }
    // The name of the step undo would take back, or redo would make again.
    const std::string& undoName() const;
    const std::string& redoName() const;
    // Moves one step back or forth; the state the model must return to.
    const ModelSnapshot& undo();
    const ModelSnapshot& redo();

    const ModelSnapshot& current() const { return states_[cursor_]; }
    // A number that names the current state: the same number, the same state.
    unsigned long long currentSerial() const { return serials_[cursor_]; }
    std::size_t steps() const { return states_.size() - 1; }
    std::size_t bytes() const;

    void setLimits(std::size_t steps, std::size_t bytes);

private:
    void trim();

    // states_[i] was reached by the step names_[i] (names_[0] is unused).
    std::vector<ModelSnapshot> states_;
    std::vector<std::string> names_;
    std::vector<unsigned long long> serials_;
    std::size_t cursor_ = 0;
    unsigned long long nextSerial_ = 0;
    std::chrono::steady_clock::time_point lastRecord_;
    std::size_t stepLimit_ = kDefaultStepLimit;
    std::size_t byteLimit_ = kDefaultByteLimit;
};
