#pragma once

// Every OpenGL user includes this header: GLEW must come before any other GL
// header (Qt's included), and the fixed-function drawing needs GLU as well.
#include <GL/glew.h>

#include <GL/glu.h>
