#include "control/UndoHistory.h"

#include <numeric>

void UndoHistory::start(ModelSnapshot current) {
    states_.clear();
    names_.clear();
    serials_.clear();
    states_.push_back(std::move(current));
    names_.emplace_back();
    serials_.push_back(nextSerial_++);
    cursor_ = 0;
}

void UndoHistory::record(const std::string& name, ModelSnapshot next, StepJoining joining) {
    const auto now = std::chrono::steady_clock::now();
    const bool sameLastStep = cursor_ > 0 && !canRedo() && names_[cursor_] == name;
    const bool continues =
        sameLastStep && (joining == StepJoining::Revision ||
                         (joining == StepJoining::Burst && now - lastRecord_ < kBurstGap));
    lastRecord_ = now;
    if (continues) {
        states_[cursor_] = std::move(next);
        serials_[cursor_] = nextSerial_++;
        return;
    }
    states_.resize(cursor_ + 1);
    names_.resize(cursor_ + 1);
    serials_.resize(cursor_ + 1);
    states_.push_back(std::move(next));
    names_.push_back(name);
    serials_.push_back(nextSerial_++);
    cursor_ = states_.size() - 1;
    trim();
}

const std::string& UndoHistory::undoName() const {
    return names_[canUndo() ? cursor_ : 0];
}

const std::string& UndoHistory::redoName() const {
    return names_[canRedo() ? cursor_ + 1 : 0];
}

const ModelSnapshot& UndoHistory::undo() {
    if (canUndo())
        --cursor_;
    return current();
}

const ModelSnapshot& UndoHistory::redo() {
    if (canRedo())
        ++cursor_;
    return current();
}

std::size_t UndoHistory::bytes() const {
    return std::accumulate(states_.begin(), states_.end(), std::size_t{0},
                           [](std::size_t sum, const ModelSnapshot& s) { return sum + s.bytes; });
}

void UndoHistory::setLimits(std::size_t steps, std::size_t bytes) {
    stepLimit_ = steps;
    byteLimit_ = bytes;
    trim();
}

void UndoHistory::trim() {
    while (cursor_ > 0 && (steps() > stepLimit_ || bytes() > byteLimit_)) {
        states_.erase(states_.begin());
        names_.erase(names_.begin());
        serials_.erase(serials_.begin());
        names_[0].clear();
        --cursor_;
    }
}
