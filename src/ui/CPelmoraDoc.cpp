#include "ui/CPelmoraDoc.h"

#include "control/AppController.h"
#include "control/LibraryFileModule.h"
#include "ui/ShellPrompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

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
    LibraryFileModule& files = libraryFileModule();
    const Outcome outcome = files.openLibrary(path.toStdString(), error);
    if (outcome == Outcome::Opened) {
        path_ = path;
        return true;
    }
    const QString problem = QString::fromStdString(error);
    if (outcome == Outcome::Refused) {
        report(QStringLiteral("Failed to open document.\n\n") + problem);
        return false;
    }
    // The readable part of a damaged file replaces the library only when the user
    // asks for it, and then as an untitled document that a plain Save cannot write
    // over the whole file.
    if (!shellPrompts().openReadablePart(problem))
        return false;
    if (!files.openReadablePart(path.toStdString(), error)) {
        report(QStringLiteral("Failed to open document.\n\n") + QString::fromStdString(error));
        return false;
    }
    path_.clear();
    appController().markUnsaved();
    return false;
}

bool CPelmoraDoc::saveDocument(const QString& path) {
    std::string error;
    if (!libraryFileModule().saveLibrary(path.toStdString(), error)) {
        report(QStringLiteral("Failed to save document.\n\n") + QString::fromStdString(error));
        return false;
    }
    path_ = path;
    appController().markSaved();
    return true;
}

void CPelmoraDoc::report(const QString& message) const {
    writeOnStandardError(message);
    reportFailure(message);
}

QString CPelmoraDoc::title() const {
    return path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
}

void writeOnStandardError(const QString& message) {
    QByteArray text;
    for (const QString& line : message.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        text += "pelmora: " + line.toLocal8Bit() + '\n';
    std::fputs(text.constData(), stderr);
    std::fflush(stderr);
}
