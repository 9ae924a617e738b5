#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// The questions the window shell asks before work could be lost, and the files it
// asks for. Each is a modal dialog unless replaced: tests answer them without one.
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
    // An image file to open, asked with `caption` in `folder`; empty when cancelled.
    std::function<QString(const QString& caption, const QString& folder)> chooseImage;
    // A file to write, asked with `caption` and the file type `filter` (whose first
    // pattern gives a bare name its suffix), `suggested` chosen at first; empty when
    // cancelled.
    std::function<QString(const QString& caption, const QString& filter, const QString& suggested)>
        chooseSaveFile;
    // Where to export the object as OBJ, and whether each surface is written once;
    // an empty path when cancelled.
    struct ObjExportChoice {
        QString path;
        bool singleSurfaces = false;
    };
    std::function<ObjExportChoice()> chooseObjExport;
    // Where to export the object as glTF, and whether the flowers' bloom goes with it
    // as an animation; an empty path when cancelled.
    struct GltfExportChoice {
        QString path;
        bool animateBloom = false;
    };
    std::function<GltfExportChoice()> chooseGltfExport;
};

// The program's prompts; replacing them holds until they are reset.
ShellPrompts& shellPrompts();
