#include "control/ObjectLibrary.h"

#include "library/LibraryFile.h"
#include "model/FlowerObjectNode.h"

int libraryCategoryOf(const FlowerObjectNode& node) {
    switch (node.kind) {
    case kKindTorus:
        return kCategoryFlower;
    case kKindPistil:
    case kKindStamen:
    case kKindStem:
        return kCategoryPrimitive;
    case kKindPetal:
        return kCategoryLeaf;
    default:
        return kCategoryComposite;
    }
}

ObjectLibrary::ObjectLibrary() = default;

ObjectLibrary::~ObjectLibrary() {
    clear();
}

FlowerObjectNode* ObjectLibrary::workObject() const {
    if (unstoredWorkObject_)
        return unstoredWorkObject_.get();
    auto it = entries_.find(workObjectId_);
    return it == entries_.end() ? nullptr : it->second.get();
}

FlowerObjectNode* ObjectLibrary::find(int id) const {
    if (id == -1)
        return nullptr;
    if (auto it = entries_.find(id); it != entries_.end())
        return it->second.get();
    if (unstoredWorkObject_ && unstoredWorkObject_->id == id)
        return unstoredWorkObject_.get();
    return nullptr;
}

bool ObjectLibrary::holds(const FlowerObjectNode* node) const {
    if (!node)
        return false;
    auto it = entries_.find(node->id);
    return it != entries_.end() && it->second.get() == node;
}

void ObjectLibrary::setWorkObject(std::unique_ptr<FlowerObjectNode> node) {
    dropWorkObject();
    unstoredWorkObject_ = std::move(node);
}

void ObjectLibrary::dropWorkObject() {
    workObjectId_ = -1;
    unstoredWorkObject_.reset();
}

bool ObjectLibrary::add(std::unique_ptr<FlowerObjectNode> node) {
    const int id = node->id;
    return entries_.try_emplace(id, std::move(node)).second;
}

bool ObjectLibrary::storeWorkObject() {
    if (!unstoredWorkObject_)
        return false;
    workObjectId_ = unstoredWorkObject_->id;
    // An entry already under that id stays: the work object is that entry then.
    entries_.try_emplace(workObjectId_, std::move(unstoredWorkObject_));
    unstoredWorkObject_.reset();
    return true;
}

bool ObjectLibrary::remove(int id) {
    return entries_.erase(id) > 0;
}

void ObjectLibrary::clear() {
    dropWorkObject();
    entries_.clear();
}

ObjectLibrary::Entries ObjectLibrary::takeAll() {
    Entries live = std::move(entries_);
    entries_.clear();
    if (unstoredWorkObject_) {
        const int id = unstoredWorkObject_->id;
        live[id] = std::move(unstoredWorkObject_);
    }
    workObjectId_ = -1;
    return live;
}

void ObjectLibrary::restore(Entries entries, int storedWorkObjectId,
                            std::unique_ptr<FlowerObjectNode> unstoredWorkObject) {
    entries_ = std::move(entries);
    workObjectId_ = storedWorkObjectId;
    unstoredWorkObject_ = std::move(unstoredWorkObject);
}
