#pragma once

// Destroys the controller, the library browser, the library view painter, the floral
// diagram and the library file module, in that order. The interaction modes, which use them, go
// first (see ApplicationShutdown.h).
void destroyControlSingletons();
