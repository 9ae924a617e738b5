#pragma once

// Destroys the interaction states, the listener manager, the controller (with
// everything it holds), the library browser, the library-view painter, the floral diagram and
// the file module in the program's fixed exit order. Each is created again on its next use.
void destroyApplicationSingletons();
