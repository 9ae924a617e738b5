#include "ui/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const char* const kGroup = "Recent File List";

QString key(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

RecentFiles::RecentFiles() {
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings.value(key(i)).toString();
        if (!path.isEmpty() && !paths_.contains(path))
            paths_.append(path);
    }
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    paths_.removeAll(absolute);
    paths_.prepend(absolute);
    while (paths_.size() > kMaxEntries)
        paths_.removeLast();
    store();
}

void RecentFiles::remove(const QString& path) {
    paths_.removeAll(path);
    store();
}

void RecentFiles::store() const {
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < paths_.size())
            settings.setValue(key(i), paths_[i]);
        else
            settings.remove(key(i));
    }
}
