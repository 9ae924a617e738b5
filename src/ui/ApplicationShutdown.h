#pragma once

// Destroys the interaction states and the mode manager, then the controller (with
// everything it holds), the library browser, the library-view painter and the file
// module, in the program's fixed exit order. Each is created again on its next use
// unless the shutdown has closed the singletons.
void destroyApplicationSingletons();
