#include "ui/HelpWindow.h"

#include <QFile>

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Pelmora Help"));
    setOpenExternalLinks(true);
    QFile guide(QStringLiteral(":/user-guide.md"));
    guide.open(QIODevice::ReadOnly);
    setMarkdown(QString::fromUtf8(guide.readAll()));
    resize(720, 800);
}
