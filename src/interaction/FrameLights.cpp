#include "interaction/FrameLights.h"

#include "interaction/OpenGL.h"

void placeFrameLights() {
    const GLfloat light0[] = {10.0f, 10.0f, -60.0f, 1.0f};
    const GLfloat light1[] = {-10.0f, 10.0f, 60.0f, 1.0f};
    const GLfloat light2[] = {10.0f, -60.0f, 30.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light0);
    glLightfv(GL_LIGHT1, GL_POSITION, light1);
    glLightfv(GL_LIGHT2, GL_POSITION, light2);
}
