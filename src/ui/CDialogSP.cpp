#include "ui/CDialogSP.h"

#include "ui/WindowIcons.h"

#include <QPainter>

CDialogSP::CDialogSP() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(splashPicture().size());
    move(225, 81);
}

void CDialogSP::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, splashPicture());
}
