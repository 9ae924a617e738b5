#pragma once

#include <QStringList>

// The recently opened and saved libraries, newest first, kept in the user's
// settings between runs.
class RecentFiles {
public:
    static constexpr int kMaxEntries = 4;

    RecentFiles();
    const QStringList& paths() const { return paths_; }
    // Moves the path to the front, dropping the oldest beyond four.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void store() const;

    QStringList paths_;
};
