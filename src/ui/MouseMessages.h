#pragma once

#include "modes/MouseListenerState.h"

#include <QMouseEvent>

#include <optional>

// The listener message for a Qt mouse event: button up, down or double click of
// the left, right or middle button, or a move. Other buttons give none.
std::optional<MouseMessage> mouseMessageFor(const QMouseEvent& event);
