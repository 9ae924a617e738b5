#include "ui/ApplicationShutdown.h"

#include "control/ControlSingletons.h"
#include "modes/ModeSingletons.h"

void destroyApplicationSingletons() {
    destroyModeSingletons();
    destroyControlSingletons();
}
