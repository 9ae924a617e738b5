#pragma once

#include <map>
#include <memory>

class FlowerObjectNode;

// The library category of an object follows from its class: receptacles are
// flowers, petals leaves, pistils, stamens and stems primitives, and everything
// else (composites, sketches) composites.
int libraryCategoryOf(const FlowerObjectNode& node);

// The stored objects by id, and the work object the creation modes build. The
// work object is either a library entry, named by its id, or held here while the
// library does not hold it; never both. Everything here is owned here.
class ObjectLibrary {
public:
    using Entries = std::map<int, std::unique_ptr<FlowerObjectNode>>;

    ObjectLibrary();
    ~ObjectLibrary();
    ObjectLibrary(const ObjectLibrary&) = delete;
    ObjectLibrary& operator=(const ObjectLibrary&) = delete;

    // The work object: an unstored one, else the library entry with its id; null
    // when there is none or its entry was removed.
    FlowerObjectNode* workObject() const;
    // The id the work object is stored under, -1 for none or an unstored one.
    int storedWorkObjectId() const { return workObjectId_; }
    const FlowerObjectNode* unstoredWorkObject() const { return unstoredWorkObject_.get(); }
    // Null for id -1; else the library entry; else the unstored work object if its
    // id matches; else null.
    FlowerObjectNode* find(int id) const;
    const Entries& entries() const { return entries_; }
    // Whether the library holds this very object (not only its id).
    bool holds(const FlowerObjectNode* node) const;

    // `node` becomes the work object, held here; the previous one is deleted
    // unless the library holds it.
    void setWorkObject(std::unique_ptr<FlowerObjectNode> node);
    // No work object; one the library does not hold is deleted.
    void dropWorkObject();
    // The library takes the object under its id unless it holds that id already (the
    // object is then deleted); whether it took it.
    bool add(std::unique_ptr<FlowerObjectNode> node);
    // An unstored work object joins the library and stays the work object; whether
    // it joined (false when there is none or it is stored already).
    bool storeWorkObject();
    // Deletes the entry with this id; whether there was one.
    bool remove(int id);
    // Deletes the work object and every entry.
    void clear();

    // Undo's way back: every live object, the entries and an unstored work object,
    // is handed out by id, and the library is given back as a step left it.
    Entries takeAll();
    void restore(Entries entries, int storedWorkObjectId,
                 std::unique_ptr<FlowerObjectNode> unstoredWorkObject);

private:
    Entries entries_;
    int workObjectId_ = -1;
    std::unique_ptr<FlowerObjectNode> unstoredWorkObject_;
};
