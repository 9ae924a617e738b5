#pragma once

#include <compare>
#include <set>

// A slot of a flower head: its whorl code and its position in that whorl.
struct SlotRef {
    int whorl = -1;
    int index = -1;

    auto operator<=>(const SlotRef&) const = default;
};

// What a view has picked out among the slots of one flower head: slots marked on
// the floral diagram, each waiting for a copy of a library object, and slots
// selected for editing. Drawing shows both: a marked slot's organ with its control
// points, a selected one's as control points on a wire frame. The selection is the
// view's, not the flower's: nothing saves, copies or undoes it.
//
// Slots are held by position, so whoever removes slots forgets them here. Every
// call names the receptacle (by id) it is about; a change about another receptacle
// than the one the selection is of starts afresh on that one, and the queries
// answer false for any other.
class SlotSelection {
public:
    // The receptacle the selection is of; -1 for none.
    int receptacleId() const { return receptacleId_; }
    // Nothing marked or selected, of no receptacle.
    void clear();

    bool isMarked(int receptacleId, const SlotRef& slot) const;
    bool isSelected(int receptacleId, const SlotRef& slot) const;

    void mark(int receptacleId, const SlotRef& slot);
    // Whether the slot was marked.
    bool unmark(int receptacleId, const SlotRef& slot);
    // Whether any slot was marked.
    bool clearMarks(int receptacleId);
    void toggleSelected(int receptacleId, const SlotRef& slot);
    void clearSelected(int receptacleId);
    // Forgets the whorl's slots from position `count` on: slots that were removed.
    void forgetFrom(int receptacleId, int whorl, int count);

private:
    bool isOf(int receptacleId) const {
        return receptacleId != -1 && receptacleId == receptacleId_;
    }
    void focusOn(int receptacleId);

    int receptacleId_ = -1;
    std::set<SlotRef> marked_;
    std::set<SlotRef> selected_;
};
