#pragma once

#include "library/LibraryFile.h"
#include "model/FlowerObjectNode.h"
#include "model/SceneRoot.h"

#include <memory>
#include <vector>

// Keeps everything the library reader hands over, in the order it came.
class CollectingSink : public LibrarySink {
public:
    void addObject(std::unique_ptr<FlowerObjectNode> object, int category) override {
        categories.push_back(category);
        objects.push_back(std::move(object));
    }
    void addScene(std::unique_ptr<SceneRoot> scene) override { scenes.push_back(std::move(scene)); }

    // What was read, as the library writer takes it.
    LibraryContents contents() const {
        LibraryContents contents;
        for (size_t i = 0; i < objects.size(); ++i)
            contents.objects[categories[i]].push_back(objects[i].get());
        for (const auto& scene : scenes)
            contents.scenes.push_back(scene.get());
        return contents;
    }

    std::vector<int> categories;
    std::vector<std::unique_ptr<FlowerObjectNode>> objects;
    std::vector<std::unique_ptr<SceneRoot>> scenes;
};
