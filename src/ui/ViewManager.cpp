#include "ui/ViewManager.h"

#include "control/AppController.h"
#include "control/Singleton.h"
#include "gl/TOGL.h"
#include "ui/CFlowerLibView.h"
#include "ui/COverallView.h"
#include "ui/CPelmoraView.h"

ViewManager::ViewManager()
    : mainContext_(std::make_unique<TOGL>()), overallContext_(std::make_unique<TOGL>()),
      textures_(std::make_unique<TextureManager>()) {
    mainContext_->setHomeCamera(kMainViewHomeCamera);
    mainContext_->setMainView(true);
}

ViewManager::~ViewManager() {
    if (AppController* controller = existingSingleton<AppController>())
        if (controller->viewHost() == this)
            controller->setViewHost(nullptr);
    // The textures' GL names live in the contexts' shared name space: they are freed
    // while a context that shares it is current, before the contexts go.
    if (mainContext_->attached())
        mainContext_->makeCurrent();
    textures_.reset();
}

void ViewManager::redrawMainView() {
    if (mainView_)
        mainView_->renderNow();
}

void ViewManager::redrawOverallView() {
    if (overallView_)
        overallView_->renderNow();
}

void ViewManager::redrawLibraryView() {
    if (libraryView_)
        libraryView_->repaint();
}

ViewManager& viewManager() {
    return singleton<ViewManager>();
}

void destroyViewManager() {
    destroySingleton<ViewManager>();
}
