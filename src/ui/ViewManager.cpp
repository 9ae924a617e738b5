#include "ui/ViewManager.h"

#include "control/AppController.h"
#include "control/FloralDiagram.h"
#include "control/Singleton.h"
#include "gl/TOGL.h"
#include "model/SceneRoot.h"
#include "organs/FlowerTorusNode.h"
#include "ui/CFlowerLibView.h"
#include "ui/COverallView.h"
#include "ui/CPelmoraView.h"
#include "ui/FDParameterDlg.h"
#include "ui/InflorescenceDlg.h"
#include "ui/LeafArrangementDlg.h"
#include "ui/ParameterDlg.h"
#include "ui/TimeDlg.h"

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
      floralDiagramDialog_(std::make_unique<FDParameterDlg>()),
      inflorescenceDialog_(std::make_unique<InflorescenceDlg>()),
      leafArrangementDialog_(std::make_unique<LeafArrangementDlg>()),
      timeDialog_(std::make_unique<TimeDlg>()),
      textures_(std::make_unique<TextureManager>()) {
    mainContext_->setHomeCamera(kMainViewHomeCamera);
    FloralDiagram& diagram = floralDiagram();
    diagram.setLookup(findReceptacle);
    diagram.setSettings(&floralDiagramDialog_->settings());
    diagram.setCountsDisplay(
        [dialog = floralDiagramDialog_.get()](const WhorlSummary& s) { dialog->showCounts(s); });
    diagram.setFormulaDisplay(
        [dialog = floralDiagramDialog_.get()](const std::string& f) { dialog->showFormula(f); });
}

ViewManager::~ViewManager() {
    if (AppController* controller = existingSingleton<AppController>())
        if (controller->viewHost() == this)
            controller->setViewHost(nullptr);
    if (FloralDiagram* diagram = existingSingleton<FloralDiagram>()) {
        diagram->setSettings(nullptr);
        diagram->setCountsDisplay(nullptr);
        diagram->setFormulaDisplay(nullptr);
    }
}

void ViewManager::setOrbitStyle(OrbitStyle style) {
    mainContext_->setOrbitStyle(style);
    overallContext_->setOrbitStyle(style);
}

OrbitStyle ViewManager::orbitStyle() const {
    return mainContext_->camera().orbitStyle;
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
