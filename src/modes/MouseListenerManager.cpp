#include "modes/MouseListenerManager.h"

#include "control/AppController.h"
#include "modes/composite/MouseListenerForComposite.h"
#include "modes/composite/MouseListenerForCompositeModify.h"
#include "modes/library/MouseListenerForLib.h"
#include "modes/organ/MouseListenerForPetal.h"
#include "modes/organ/MouseListenerForPetalModify.h"
#include "modes/organ/OrganCreationListener.h"
#include "modes/organ/MouseListenerForPistilModify.h"
#include "modes/scene/MouseListenerForSceneModify.h"
#include "modes/scene/MouseListenerForScenePetal.h"
#include "modes/scene/MouseListenerForScenePetalModify.h"
#include "modes/scene/MouseListenerForSceneSketch.h"
#include "modes/flowerhead/MouseListenerForSceneStamen.h"
#include "modes/flowerhead/MouseListenerForSceneTorus.h"
#include "modes/organ/MouseListenerForStamenModify.h"
#include "modes/flowerhead/MouseListenerForTorusModify.h"
#include "control/Singleton.h"

MouseListenerManager::MouseListenerManager()
    : mainListener_(&singleton<MouseListenerForComposite>()),
      libraryListener_(&singleton<MouseListenerForLib>()) {
    AppController& controller = appController();
    controller.setModeHost(this);
    controller.switchToMode(kModeComposite);
}

MouseListenerManager::~MouseListenerManager() {
    if (AppController* controller = existingSingleton<AppController>())
        if (controller->modeHost() == this)
            controller->setModeHost(nullptr);
}

MouseListenerState* MouseListenerManager::listenerForMode(int mode) {
    switch (mode) {
    case kModeSceneSketch:
        return &singleton<MouseListenerForSceneSketch>();
    case kModeSceneModify:
        return &singleton<MouseListenerForSceneModify>();
    case kModeScenePetal:
        return &singleton<MouseListenerForScenePetal>();
    case kModeSceneTorus:
        return &singleton<MouseListenerForSceneTorus>();
    case kModeSceneStamen:
        return &singleton<MouseListenerForSceneStamen>();
    case kModeScenePetalModify:
        return &singleton<MouseListenerForScenePetalModify>();
    case kModeTorusModify:
        return &singleton<MouseListenerForTorusModify>();
    case kModeCompositeModify:
        return &singleton<MouseListenerForCompositeModify>();
    case kModeComposite:
        return &singleton<MouseListenerForComposite>();
    case kModePetal:
        return &singleton<MouseListenerForPetal>();
    case kModePetalModify:
        return &singleton<MouseListenerForPetalModify>();
    case kModeStamen:
        return &singleton<MouseListenerForStamen>();
    case kModeStamenModify:
        return &singleton<MouseListenerForStamenModify>();
    case kModePistil:
        return &singleton<MouseListenerForPistil>();
    case kModePistilModify:
        return &singleton<MouseListenerForPistilModify>();
    default:
        return nullptr;
    }
}

void MouseListenerManager::activateMode(int mode) {
    if (MouseListenerState* listener = listenerForMode(mode))
        mainListener_ = listener;
}

void MouseListenerManager::forgetSceneInteraction() {
    singleton<MouseListenerForSceneSketch>().resetTransientState();
    singleton<MouseListenerForSceneModify>().resetTransientState();
    singleton<MouseListenerForSceneTorus>().resetTransientState();
    singleton<MouseListenerForSceneStamen>().resetTransientState();
    singleton<MouseListenerForScenePetalModify>().resetTransientState();
    auto& petal = singleton<MouseListenerForScenePetal>();
    petal.resetTransientState();
    petal.resetStrokes();
}

void MouseListenerManager::preparePetal(bool fromSketch) {
    auto& petal = singleton<MouseListenerForScenePetal>();
    petal.resetTransientState();
    if (fromSketch)
        petal.prepareFromSketch();
    else
        petal.prepareOnFocus();
}

void MouseListenerManager::mainViewMessage(MouseMessage message, int x, int y) {
    // Away from time 1 the flowers are drawn turned from where they stand: the left
    // button, which draws and edits, starts nothing until the bloom is back at 1. The
    // camera buttons still work.
    const bool startsEdit =
        message == MouseMessage::LButtonDown || message == MouseMessage::LButtonDblClk;
    if (startsEdit && !appController().settings().bloom.editable())
        return;
    deliverMouseMessage(*mainListener_, message, x, y);
    appController().commit();
}

void MouseListenerManager::libraryViewMessage(MouseMessage message, int x, int y) {
    deliverMouseMessage(*libraryListener_, message, x, y);
    appController().commit();
}

void MouseListenerManager::drawMainOverlay(const DrawContext& draw) {
    mainListener_->onDraw(draw);
}

MouseListenerManager& mouseListenerManager() {
    return singleton<MouseListenerManager>();
}
