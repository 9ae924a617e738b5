#pragma once

// Destroys every interaction state and the mode manager in the program's fixed
// order: the library view's states, the manager, then the main view's states.
void destroyModeSingletons();
