#include "ui/DialogPlacement.h"

#include <QDialog>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void makeModeless(QDialog& dialog) {
    dialog.setModal(false);
    dialog.setAttribute(Qt::WA_QuitOnClose, false);
}

void placeBeside(QWidget& dialog, const QWidget& anchor, bool atBottom) {
    const QRect window = anchor.window()->frameGeometry();
    const QRect view(anchor.mapToGlobal(QPoint()), anchor.size());
    const QRect screen = anchor.screen()->availableGeometry();
    const QSize size = dialog.frameGeometry().size();
    int x = std::max(screen.left(), view.left());
    if (window.right() + size.width() <= screen.right())
        x = window.right() + 1;
    else if (window.left() - size.width() >= screen.left())
        x = window.left() - size.width();
    const int level = atBottom ? view.bottom() - size.height() : view.top();
    const int y = std::clamp(level, screen.top(), std::max(screen.top(), screen.bottom() - size.height()));
    dialog.move(x, y);
}
