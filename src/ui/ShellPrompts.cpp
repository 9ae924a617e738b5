#include "ui/ShellPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton fallback) {
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Pelmora"), text,
                                 buttons, fallback);
}

} // namespace

ShellPrompts::ShellPrompts() {
    saveChanges = [](const QString& name) {
        switch (ask(QStringLiteral("Save changes to %1?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QMessageBox::Save)) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
        }
    };
    recoverAutosave = [](const QDateTime& when) {
        const QString time = QLocale().toString(when, QLocale::ShortFormat);
        return ask(QStringLiteral("Recover unsaved work from %1?").arg(time),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    };
    openReadablePart = [](const QString& problem) {
        return ask(QStringLiteral("Failed to open document.\n\n%1\n\nOpen the part that could be "
                                  "read as a new untitled document?")
                       .arg(problem),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    chooseImage = [](const QString& caption, const QString& folder) {
        return QFileDialog::getOpenFileName(
            QApplication::activeWindow(), caption, folder,
            QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp);;All files (*)"), nullptr,
            QFileDialog::ReadOnly);
    };
    chooseSaveFile = [](const QString& caption, const QString& filter) {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, QString(),
                                            filter);
    };
}

ShellPrompts& shellPrompts() {
    static ShellPrompts prompts;
    return prompts;
}
