#include "ui/MouseMessages.h"

namespace {

std::optional<MouseMessage> byButton(Qt::MouseButton button, MouseMessage left, MouseMessage right,
                                     MouseMessage middle) {
    switch (button) {
    case Qt::LeftButton:
        return left;
    case Qt::RightButton:
        return right;
    case Qt::MiddleButton:
        return middle;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<MouseMessage> mouseMessageFor(const QMouseEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        return byButton(event.button(), MouseMessage::LButtonDown, MouseMessage::RButtonDown,
                        MouseMessage::MButtonDown);
    case QEvent::MouseButtonRelease:
        return byButton(event.button(), MouseMessage::LButtonUp, MouseMessage::RButtonUp,
                        MouseMessage::MButtonUp);
    case QEvent::MouseButtonDblClick:
        return byButton(event.button(), MouseMessage::LButtonDblClk, MouseMessage::RButtonDblClk,
                        MouseMessage::MButtonDblClk);
    case QEvent::MouseMove:
        return MouseMessage::MouseMove;
    default:
        return std::nullopt;
    }
}
