#include "ui/ViewManager.h"

#include "app/AppController.h"
#include "app/Singleton.h"
#include "app/TOGL.h"
#include "ui/CFlowerLibView.h"
#include "ui/COverallView.h"
#include "ui/CPelmoraView.h"

ViewManager::ViewManager()
    : mainContext_(std::make_unique<TOGL>()), overallContext_(std::make_unique<TOGL>()) {
    mainContext_->setHomeCamera(kMainViewHomeCamera);
    mainContext_->setMainView(true);
}

ViewManager::~ViewManager() {
    if (AppController* controller = existingSingleton<AppController>())
        if (controller->viewHost() == this)
            controller->setViewHost(nullptr);
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
