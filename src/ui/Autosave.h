#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QTimer;

// Writes the library, while it has unsaved changes, to a file of its own in the
// user's data directory (never over the document), so that a crash or a kill loses
// at most one interval of work. The file goes at a clean exit and once the library
// is saved. Each running program keeps its own file, named by its process id: a
// file whose process is gone was left by a run that did not exit cleanly, and is
// offered for recovery at the next start.
class Autosave final : public QObject {
public:
    static constexpr int kDefaultIntervalMs = 2 * 60 * 1000;
    // Overrides the interval in milliseconds, for tests that kill the program.
    static constexpr const char* kIntervalVariable = "PELMORA_AUTOSAVE_INTERVAL_MS";

    // An autosave left by an earlier run.
    struct Leftover {
        QString path;
        QDateTime written;
    };

    explicit Autosave(QObject* parent);
    // A clean exit: the autosave is no longer needed.
    ~Autosave() override;

    void setInterval(int milliseconds);
    // Writes the library now unless it is saved, unchanged since the last autosave,
    // or a mouse button is held in a view (a drag in progress).
    void autosave();
    // The library was saved or no longer differs from its file: removes the autosave.
    void discard();
    const QString& path() const { return path_; }

    // The autosaves of runs that ended without a clean exit, newest first.
    std::vector<Leftover> leftovers() const;

    // Where autosaves are kept: the user's data directory unless tests chose one.
    static QString directory();
    // An empty directory restores the user's data directory.
    static void setDirectory(const QString& directory);

    // Tells the user that writing failed; the next interval tries again.
    std::function<void(const QString& message)> reportFailure;

private:
    QTimer* timer_;
    QString path_;
    bool written_ = false;
    unsigned long long writtenSerial_ = 0;
};
