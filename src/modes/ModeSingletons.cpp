#include "modes/ModeSingletons.h"

#include "modes/MouseListenerManager.h"
#include "modes/composite/MouseListenerForComposite.h"
#include "modes/composite/MouseListenerForCompositeModify.h"
#include "modes/flowerhead/MouseListenerForSceneStamen.h"
#include "modes/flowerhead/MouseListenerForSceneTorus.h"
#include "modes/flowerhead/MouseListenerForTorusModify.h"
#include "modes/library/MouseListenerFor3DDraw.h"
#include "modes/library/MouseListenerForLib.h"
#include "modes/organ/MouseListenerForPetal.h"
#include "modes/organ/MouseListenerForPetalModify.h"
#include "modes/organ/OrganCreationListener.h"
#include "modes/organ/MouseListenerForPistilModify.h"
#include "modes/organ/MouseListenerForStamenModify.h"
#include "modes/scene/MouseListenerForSceneModify.h"
#include "modes/scene/MouseListenerForScenePetal.h"
#include "modes/scene/MouseListenerForScenePetalModify.h"
#include "modes/scene/MouseListenerForSceneSketch.h"
#include "control/Singleton.h"

void destroyModeSingletons() {
    destroySingleton<MouseListenerFor3DDraw>();
    destroySingleton<MouseListenerForLib>();
    destroySingleton<MouseListenerManager>();
    destroySingleton<MouseListenerForPetalModify>();
    destroySingleton<MouseListenerForPetal>();
    destroySingleton<MouseListenerForPistil>();
    destroySingleton<MouseListenerForPistilModify>();
    destroySingleton<MouseListenerForStamen>();
    destroySingleton<MouseListenerForStamenModify>();
    destroySingleton<MouseListenerForTorusModify>();
    destroySingleton<MouseListenerForComposite>();
    destroySingleton<MouseListenerForCompositeModify>();
    destroySingleton<MouseListenerForSceneModify>();
    destroySingleton<MouseListenerForSceneSketch>();
    destroySingleton<MouseListenerForSceneTorus>();
    destroySingleton<MouseListenerForScenePetal>();
    destroySingleton<MouseListenerForScenePetalModify>();
    destroySingleton<MouseListenerForSceneStamen>();
}
