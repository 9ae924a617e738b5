#pragma once

// Gives every plant object its fresh id. Counting starts at 1. Whoever builds
// objects owns a counter and hands it down: the controller for the program (it
// resets the counter with the library), the starter generator and the
// command-line tool their own.
class IdCounter {
public:
    int nextId() { return next_++; }
    void reset() { next_ = 1; }
    int peek() const { return next_; }

private:
    int next_ = 1;
};
