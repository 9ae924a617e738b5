#include "ui/MouseMessages.h"

#include <gtest/gtest.h>

namespace {

std::optional<MouseMessage> messageFor(QEvent::Type type, Qt::MouseButton button) {
    const QMouseEvent event(type, QPointF(3, 4), QPointF(3, 4), button,
                            type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    return mouseMessageFor(event);
}

} // namespace

TEST(MouseMessagesTest, EachButtonEventBecomesItsListenerMessage) {
    const struct {
        QEvent::Type type;
        Qt::MouseButton button;
        MouseMessage expected;
    } cases[] = {
        {QEvent::MouseButtonPress, Qt::LeftButton, MouseMessage::LButtonDown},
        {QEvent::MouseButtonPress, Qt::RightButton, MouseMessage::RButtonDown},
        {QEvent::MouseButtonPress, Qt::MiddleButton, MouseMessage::MButtonDown},
        {QEvent::MouseButtonRelease, Qt::LeftButton, MouseMessage::LButtonUp},
        {QEvent::MouseButtonRelease, Qt::RightButton, MouseMessage::RButtonUp},
        {QEvent::MouseButtonRelease, Qt::MiddleButton, MouseMessage::MButtonUp},
        {QEvent::MouseButtonDblClick, Qt::LeftButton, MouseMessage::LButtonDblClk},
        {QEvent::MouseButtonDblClick, Qt::RightButton, MouseMessage::RButtonDblClk},
        {QEvent::MouseButtonDblClick, Qt::MiddleButton, MouseMessage::MButtonDblClk},
        {QEvent::MouseMove, Qt::NoButton, MouseMessage::MouseMove},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageFor(c.type, c.button), c.expected);
}

TEST(MouseMessagesTest, OtherButtonsGiveNoMessage) {
    EXPECT_FALSE(messageFor(QEvent::MouseButtonPress, Qt::BackButton).has_value());
    EXPECT_FALSE(messageFor(QEvent::MouseButtonRelease, Qt::ExtraButton4).has_value());
}
