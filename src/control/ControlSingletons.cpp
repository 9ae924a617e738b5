#include "control/ControlSingletons.h"

#include "control/AppController.h"
#include "control/FloralDiagram.h"
#include "control/LibraryBrowser.h"
#include "control/LibraryFileModule.h"
#include "control/LibraryViewPainter.h"
#include "control/Singleton.h"

void destroyControlSingletons() {
    destroySingleton<AppController>();
    destroySingleton<LibraryBrowser>();
    destroySingleton<LibraryViewPainter>();
    destroySingleton<FloralDiagram>();
    destroySingleton<LibraryFileModule>();
}
