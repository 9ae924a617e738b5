#include "ui/ViewManager.h"

#include "app/AppController.h"
#include "app/FloralDiagram.h"
#include "app/Singleton.h"
#include "app/TOGL.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"
#include "ui/CFlowerLibView.h"
#include "ui/COverallView.h"
#include "ui/CPelmoraView.h"
#include "ui/FDParameterDlg.h"
#include "ui/ParameterDlg.h"

namespace {

// The receptacle the floral diagram is bound to: the work object, a library
// object or a part of the open scene; null once it is gone.
FlowerTorusNode* findReceptacle(int id) {
    const AppController& controller = appController();
    FlowerObjectNode* node = controller.findObject(id);
    if (!node && controller.root())
        node = controller.root()->findInScene(id).object;
    return dynamic_cast<FlowerTorusNode*>(node);
}

} // namespace

ViewManager::ViewManager()
    : mainContext_(std::make_unique<TOGL>()), overallContext_(std::make_unique<TOGL>()),
      parameterDialog_(std::make_unique<ParameterDlg>()),
      floralDiagramDialog_(std::make_unique<FDParameterDlg>()) {
    mainContext_->setHomeCamera(kMainViewHomeCamera);
    mainContext_->setMainView(true);
    FloralDiagram& diagram = floralDiagram();
    diagram.setLookup(findReceptacle);
    diagram.setSettings(&floralDiagramDialog_->settings());
    diagram.setCountsDisplay(
        [dialog = floralDiagramDialog_.get()](const WhorlSummary& s) { dialog->showCounts(s); });
}

ViewManager::~ViewManager() {
    if (AppController* controller = existingSingleton<AppController>())
        if (controller->viewHost() == this)
            controller->setViewHost(nullptr);
    if (FloralDiagram* diagram = existingSingleton<FloralDiagram>()) {
        diagram->setSettings(nullptr);
        diagram->setCountsDisplay(nullptr);
    }
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
