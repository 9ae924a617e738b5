#pragma once

#include <QTextBrowser>

// The user guide, shown inside the program from the same Markdown text the
// repository's documentation links to.
class HelpWindow final : public QTextBrowser {
public:
    explicit HelpWindow(QWidget* parent = nullptr);
};
