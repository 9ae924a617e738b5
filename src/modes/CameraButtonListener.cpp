#include "modes/CameraButtonListener.h"

#include "control/AppController.h"

void CameraButtonListener::onRButtonDown(int x, int y) {
    if (orbitsWith(appController().settings().drawingTool))
        beginOrbit(x, y);
}

void CameraButtonListener::onRButtonUp(int, int) {
    endRightDrag();
    noteChange(kChangeMainView);
}

void CameraButtonListener::onMButtonUp(int, int) {
    endMiddleDrag();
    noteChange(kChangeMainView);
}
