#pragma once

// The starter library's models a new user exports first: the flower head with all
// four whorls, the plant that carries one and the scene.

#include "library/LibraryFile.h"
#include "model/FlowerObjectComposite.h"
#include "model/IdCounter.h"
#include "model/Parameters.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"
#include "starter/StarterLibrary.h"

#include <memory>

struct StarterModels {
    // Takes ids from `ids` and builds with the built-in parameter values.
    explicit StarterModels(IdCounter& ids)
        : library(std::make_unique<StarterLibrary>(ids, Parameters())) {
        // The library hands its entries out read-only; exporting changes nothing.
        const LibraryContents contents = library->contents();
        for (const FlowerObjectNode* object : contents.objects[kCategoryFlower])
            if (carriesFourWhorls(*object))
                flowerHead = const_cast<FlowerObjectNode*>(object);
        for (const FlowerObjectNode* object : contents.objects[kCategoryComposite])
            if (carriesFourWhorls(*object))
                plant = const_cast<FlowerObjectNode*>(object);
        scene = const_cast<SceneRoot*>(contents.scenes.front());
    }

    std::unique_ptr<StarterLibrary> library;
    FlowerObjectNode* flowerHead = nullptr;
    FlowerObjectNode* plant = nullptr;
    SceneRoot* scene = nullptr;

private:
    static bool carriesFourWhorls(const FlowerObjectNode& object) {
        bool found = false;
        if (const FlowerObjectComposite* composite = asComposite(&object))
            forEachPlacedChild(*composite,
                               [&](const FlowerObjectNode& child, const Matrix4&, bool) {
                                   found = found || carriesFourWhorls(child);
                               });
        if (const FlowerTorusNode* head = asTorus(&object))
            found = !head->whorl(kWhorlPistil).parts.empty() &&
                    !head->whorl(kWhorlStamen).parts.empty() &&
                    !head->whorl(kWhorlPetal).parts.empty() &&
                    !head->whorl(kWhorlSepal).parts.empty();
        return found;
    }
};
