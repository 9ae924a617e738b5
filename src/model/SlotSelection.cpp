#include "model/SlotSelection.h"

#include <limits>

void SlotSelection::clear() {
    receptacleId_ = -1;
    marked_.clear();
    selected_.clear();
}

void SlotSelection::focusOn(int receptacleId) {
    if (receptacleId == receptacleId_)
        return;
    clear();
    receptacleId_ = receptacleId;
}

bool SlotSelection::isMarked(int receptacleId, const SlotRef& slot) const {
    return isOf(receptacleId) && marked_.count(slot) > 0;
}

bool SlotSelection::isSelected(int receptacleId, const SlotRef& slot) const {
    return isOf(receptacleId) && selected_.count(slot) > 0;
}

void SlotSelection::mark(int receptacleId, const SlotRef& slot) {
    focusOn(receptacleId);
    marked_.insert(slot);
}

bool SlotSelection::unmark(int receptacleId, const SlotRef& slot) {
    return isOf(receptacleId) && marked_.erase(slot) > 0;
}

bool SlotSelection::clearMarks(int receptacleId) {
    if (!isOf(receptacleId) || marked_.empty())
        return false;
    marked_.clear();
    return true;
}

void SlotSelection::toggleSelected(int receptacleId, const SlotRef& slot) {
    focusOn(receptacleId);
    if (!selected_.erase(slot))
        selected_.insert(slot);
}

void SlotSelection::clearSelected(int receptacleId) {
    if (isOf(receptacleId))
        selected_.clear();
}

void SlotSelection::forgetFrom(int receptacleId, int whorl, int count) {
    if (!isOf(receptacleId))
        return;
    const SlotRef first{whorl, count};
    const SlotRef last{whorl, std::numeric_limits<int>::max()};
    for (std::set<SlotRef>* refs : {&marked_, &selected_})
        refs->erase(refs->lower_bound(first), refs->upper_bound(last));
}
