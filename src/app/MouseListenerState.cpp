#include "app/MouseListenerState.h"

void deliverMouseMessage(MouseListenerState& listener, MouseMessage message, int x, int y) {
    switch (message) {
    case MouseMessage::LButtonUp:
        listener.onLButtonUp(x, y);
        break;
    case MouseMessage::RButtonUp:
        listener.onRButtonUp(x, y);
        break;
    case MouseMessage::MButtonUp:
        listener.onMButtonUp(x, y);
        break;
    case MouseMessage::LButtonDown:
        listener.onLButtonDown(x, y);
        break;
    case MouseMessage::RButtonDown:
        listener.onRButtonDown(x, y);
        break;
    case MouseMessage::MButtonDown:
        listener.onMButtonDown(x, y);
        break;
    case MouseMessage::LButtonDblClk:
        listener.onLButtonDblClk(x, y);
        break;
    case MouseMessage::RButtonDblClk:
        listener.onRButtonDblClk(x, y);
        break;
    case MouseMessage::MButtonDblClk:
        listener.onMButtonDblClk(x, y);
        break;
    case MouseMessage::MouseMove:
        listener.onMouseMove(x, y);
        break;
    }
}
