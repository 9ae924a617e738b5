#include "app/MouseListenerManager.h"

#include "app/AppController.h"
#include "app/MouseListenerForComposit.h"
#include "app/MouseListenerForCompositModify.h"
#include "app/MouseListenerForLib.h"
#include "app/MouseListenerForPetal.h"
#include "app/MouseListenerForPetalModify.h"
#include "app/MouseListenerForPistil.h"
#include "app/MouseListenerForPistilModify.h"
#include "app/MouseListenerForSceneModify.h"
#include "app/MouseListenerForScenePetal.h"
#include "app/MouseListenerForScenePetalModify.h"
#include "app/MouseListenerForSceneSketch.h"
#include "app/MouseListenerForSceneStamen.h"
#include "app/MouseListenerForSceneTorus.h"
#include "app/MouseListenerForSkeleton.h"
#include "app/MouseListenerForStamen.h"
#include "app/MouseListenerForStamenModify.h"
#include "app/MouseListenerForTorusModify.h"
#include "app/Singleton.h"

MouseListenerManager::MouseListenerManager()
    : mainListener_(&singleton<MouseListenerForComposit>()),
      libraryListener_(&singleton<MouseListenerForLib>()),
      skeletonListener_(&singleton<MouseListenerForSkeleton>()) {
    appController().mode = kModeComposit;
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
    case kModeCompositModify:
        return &singleton<MouseListenerForCompositModify>();
    case kModeComposit:
        return &singleton<MouseListenerForComposit>();
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

void MouseListenerManager::switchToMode(int mode) {
    MouseListenerState* listener = listenerForMode(mode);
    if (!listener)
        return;
    AppController& controller = appController();
    mainListener_ = listener;
    controller.redrawMainView();
    controller.mode = mode;
    controller.refreshPickBuffers();
}

void MouseListenerManager::mainViewMessage(MouseMessage message, int x, int y) {
    deliverMouseMessage(*mainListener_, message, x, y);
}

void MouseListenerManager::libraryViewMessage(MouseMessage message, int x, int y) {
    deliverMouseMessage(*libraryListener_, message, x, y);
}

void MouseListenerManager::drawMainOverlay() {
    mainListener_->onDraw();
}

MouseListenerManager& mouseListenerManager() {
    return singleton<MouseListenerManager>();
}
