#include "ui/CPelmoraDoc.h"

#include "control/AppController.h"
#include "control/LibraryFileModule.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

CPelmoraDoc::CPelmoraDoc() {
    reportFailure = [](const QString& message) {
        QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Pelmora"), message);
    };
}

void CPelmoraDoc::newDocument() {
    path_.clear();
}

bool CPelmoraDoc::openDocument(const QString& path) {
    std::string error;
    using Outcome = LibraryFileModule::OpenOutcome;
    const Outcome outcome = libraryFileModule().openLibrary(path.toStdString(), error);
    if (outcome == Outcome::Opened) {
        path_ = path;
        return true;
    }
    reportFailure(QStringLiteral("Failed to open document.\n\n") + QString::fromStdString(error));
    // The part of a broken file that was read must not be saved over the whole file
    // by a plain Save: the document becomes untitled.
    if (outcome == Outcome::Incomplete)
        path_.clear();
    return false;
}

bool CPelmoraDoc::saveDocument(const QString& path) {
    std::string error;
    if (!libraryFileModule().saveLibrary(path.toStdString(), error)) {
        reportFailure(QStringLiteral("Failed to save document.\n\n") +
                      QString::fromStdString(error));
        return false;
    }
    path_ = path;
    appController().markSaved();
    return true;
}

QString CPelmoraDoc::title() const {
    return path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
}
