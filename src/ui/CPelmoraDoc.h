#pragma once

#include <QString>

#include <functional>

// The single document: it holds no model of its own (the library lives in the
// controller) and only routes Open and Save to the library file module, naming the
// file the window title shows. Failures are reported with what went wrong and
// where.
class CPelmoraDoc {
public:
    CPelmoraDoc();

    // A new, untitled document; the library stays as it is.
    void newDocument();
    // Replaces the library by the file's, read whole before anything changes. A
    // file that is no library, cannot be read or breaks off is refused and the
    // current library kept; of a file that breaks off, the user may open the part
    // before the break as an untitled document with unsaved changes.
    bool openDocument(const QString& path);
    bool saveDocument(const QString& path);

    const QString& path() const { return path_; }
    // The file name, or "Untitled".
    QString title() const;

    // Tells the user of a failure they must act on, once on the standard error
    // stream and once in the window through `reportFailure`.
    void report(const QString& message) const;
    // Shows a failure in the window; a message box unless replaced (tests).
    std::function<void(const QString& message)> reportFailure;

private:
    QString path_;
};

// Writes a message the user must act on to the standard error stream as well: each
// of its lines as "pelmora: LINE", blank lines left out.
void writeOnStandardError(const QString& message);
