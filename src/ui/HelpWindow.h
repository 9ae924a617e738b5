#pragma once

#include <QTextBrowser>

// The user guide, shown inside the program from the same Markdown text the
// repository's documentation links to.
class HelpWindow final : public QTextBrowser {
public:
    // Pictures are shown at most this wide: the guide's are screenshots of the whole
    // main window.
    static constexpr int kPictureWidth = 640;

    explicit HelpWindow(QWidget* parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};
