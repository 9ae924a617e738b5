#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The questions the window shell asks before work could be lost. Each is a message
// box unless replaced: tests answer them without a modal dialog.
struct ShellPrompts {
    enum class SaveAnswer { Save, Discard, Cancel };

    ShellPrompts();

    // "Save changes to NAME?" before the library is replaced or the program ends.
    std::function<SaveAnswer(const QString& documentName)> saveChanges;
    // Whether to recover the work an earlier run autosaved at `when` and did not
    // save before it ended abnormally.
    std::function<bool(const QDateTime& when)> recoverAutosave;
    // Whether to open the readable part of a damaged file as a new untitled
    // document; `problem` says where the file went wrong.
    std::function<bool(const QString& problem)> openReadablePart;
};

// The program's prompts; replacing them holds until they are reset.
ShellPrompts& shellPrompts();
