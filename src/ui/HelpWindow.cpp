#include "ui/HelpWindow.h"

#include <QImage>
#include <QUrl>

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Pelmora Help"));
    setOpenExternalLinks(true);
    // Read from its resource URL, the guide finds its pictures beside it as the
    // repository's copy does.
    setSource(QUrl(QStringLiteral("qrc:/user-guide.md")), QTextDocument::MarkdownResource);
    resize(720, 800);
}

QVariant HelpWindow::loadResource(int type, const QUrl& name) {
    const QVariant resource = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::ImageResource)
        return resource;
    QImage picture;
    picture.loadFromData(resource.toByteArray());
    if (picture.width() <= kPictureWidth)
        return resource;
    return picture.scaledToWidth(kPictureWidth, Qt::SmoothTransformation);
}
