#include "cli/CliLibrary.h"

#include "model/NodeRecord.h"

#include <algorithm>

SceneNode& CliEntry::node() const {
    if (object)
        return *object;
    return *scene;
}

int CliEntry::id() const {
    return node().id;
}

const char* CliEntry::keyword() const {
    return object ? recordKeyword(*object) : "SceneRoot";
}

void CliLibrary::addObject(std::unique_ptr<FlowerObjectNode> object, int category) {
    CliEntry entry;
    entry.category = category;
    entry.object = std::move(object);
    entries_.push_back(std::move(entry));
}

void CliLibrary::addScene(std::unique_ptr<SceneRoot> scene) {
    CliEntry entry;
    entry.category = kCategoryScene;
    entry.scene = std::move(scene);
    entries_.push_back(std::move(entry));
}

const CliEntry* CliLibrary::find(int id) const {
    for (const CliEntry& entry : entries_)
        if (entry.id() == id)
            return &entry;
    return nullptr;
}

LibraryContents CliLibrary::contents() const {
    LibraryContents contents;
    for (const CliEntry& entry : entries_) {
        if (entry.scene)
            contents.scenes.push_back(entry.scene.get());
        else
            contents.objects[entry.category].push_back(entry.object.get());
    }
    const auto byId = [](const auto* a, const auto* b) { return a->id < b->id; };
    for (auto& objects : contents.objects)
        std::sort(objects.begin(), objects.end(), byId);
    std::sort(contents.scenes.begin(), contents.scenes.end(), byId);
    return contents;
}
