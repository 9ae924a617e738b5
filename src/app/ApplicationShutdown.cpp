#include "app/ApplicationShutdown.h"

#include "app/AppController.h"
#include "app/FloralDiagram.h"
#include "app/LibraryBrowser.h"
#include "app/LibraryFileModule.h"
#include "app/LibraryViewPainter.h"
#include "app/MouseListenerFor3DDraw.h"
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
#include "app/MouseListenerManager.h"
#include "app/Singleton.h"

void destroyApplicationSingletons() {
    destroySingleton<MouseListenerFor3DDraw>();
    destroySingleton<MouseListenerForLib>();
    destroySingleton<MouseListenerManager>();
    destroySingleton<MouseListenerForSkeleton>();
    destroySingleton<MouseListenerForPetalModify>();
    destroySingleton<MouseListenerForPetal>();
    destroySingleton<MouseListenerForPistil>();
    destroySingleton<MouseListenerForPistilModify>();
    destroySingleton<MouseListenerForStamen>();
    destroySingleton<MouseListenerForStamenModify>();
    destroySingleton<MouseListenerForTorusModify>();
    destroySingleton<MouseListenerForComposit>();
    destroySingleton<MouseListenerForCompositModify>();
    destroySingleton<MouseListenerForSceneModify>();
    destroySingleton<MouseListenerForSceneSketch>();
    destroySingleton<MouseListenerForSceneTorus>();
    destroySingleton<MouseListenerForScenePetal>();
    destroySingleton<MouseListenerForScenePetalModify>();
    destroySingleton<MouseListenerForSceneStamen>();
    destroySingleton<AppController>();
    destroySingleton<LibraryBrowser>();
    destroySingleton<LibraryViewPainter>();
    destroySingleton<FloralDiagram>();
    destroySingleton<LibraryFileModule>();
}
