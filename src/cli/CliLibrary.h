#pragma once

#include "library/LibraryFile.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"

#include <memory>
#include <string>
#include <vector>

// One top-level entry of a loaded library, in file order.
struct CliEntry {
    int category = 0;
    std::unique_ptr<FlowerObjectNode> object; // set for the object sections
    std::unique_ptr<SceneRoot> scene;         // set for the scene section

    SceneNode& node() const;
    int id() const;
    const char* keyword() const;
};

// The library as the command-line tool holds it: everything the reader hands over,
// kept in file order.
class CliLibrary : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode> object, int category) override;
    void addScene(std::unique_ptr<SceneRoot> scene) override;

    const std::vector<CliEntry>& entries() const { return entries_; }
    // The top-level entry with that id, or null.
    const CliEntry* find(int id) const;
    // The entries as the library writer takes them, in ascending id order per category.
    LibraryContents contents() const;

private:
    std::vector<CliEntry> entries_;
};
