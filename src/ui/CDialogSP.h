#pragma once

#include <QWidget>

// The splash: a borderless window with the start-up picture, shown while the
// controller's library is reset.
class CDialogSP final : public QWidget {
public:
    CDialogSP();

protected:
    void paintEvent(QPaintEvent* event) override;
};
