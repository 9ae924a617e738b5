#include "modes/library/MouseListenerFor3DDraw.h"

#include "control/AppController.h"

void MouseListenerFor3DDraw::onLButtonDown(int x, int y) {
    startStroke(stroke_, hitViewPlane(x, y));
}

void MouseListenerFor3DDraw::onMouseMove(int x, int y) {
    if (leftDown)
        stroke_.add(hitViewPlane(x, y));
    dragCameraWithButtons(x, y);
    redrawMainView();
}

void MouseListenerFor3DDraw::onLButtonUp(int x, int y) {
    if (!leftDown)
        return;
    leftDown = false;
    stroke_.add(hitViewPlane(x, y));
    noteChange(kChangeMainView);
}

void MouseListenerFor3DDraw::onRButtonDblClk(int, int) {
    stroke_.smooth121();
    noteChange(kChangeMainView);
}
