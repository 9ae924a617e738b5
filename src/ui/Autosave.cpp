#include "ui/Autosave.h"

#include "control/AppController.h"
#include "control/LibraryFileModule.h"
#include "modes/MouseListenerManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cerrno>

#include <signal.h>

namespace {

QString& chosenDirectory() {
    static QString directory;
    return directory;
}

const QLatin1String kPrefix("autosave-");
const QLatin1String kSuffix(".pmr");

bool processRuns(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool dragInProgress() {
    const MouseListenerManager& listeners = mouseListenerManager();
    for (const MouseListenerState* listener :
         {&listeners.mainListener(), &listeners.libraryListener()})
        if (listener->leftDown || listener->rightDown)
            return true;
    return false;
}

} // namespace

Autosave::Autosave(QObject* parent)
    : QObject(parent), timer_(new QTimer(this)),
      path_(
          QDir(directory())
              .filePath(kPrefix + QString::number(QCoreApplication::applicationPid()) + kSuffix)) {
    bool valid = false;
    const int interval = qEnvironmentVariableIntValue(kIntervalVariable, &valid);
    setInterval(valid && interval > 0 ? interval : kDefaultIntervalMs);
    connect(timer_, &QTimer::timeout, this, &Autosave::autosave);
    timer_->start();
}

Autosave::~Autosave() {
    discard();
}

void Autosave::setInterval(int milliseconds) {
    timer_->setInterval(milliseconds);
}

void Autosave::autosave() {
    const AppController& controller = appController();
    if (!controller.modified()) {
        discard();
        return;
    }
    const unsigned long long serial = controller.history().currentSerial();
    // Without a data directory there is no place that is not the document's.
    if ((written_ && writtenSerial_ == serial) || dragInProgress() || directory().isEmpty())
        return;
    QDir().mkpath(directory());
    std::string error;
    if (!libraryFileModule().saveLibrary(path_.toStdString(), error)) {
        if (reportFailure)
            reportFailure(QStringLiteral("Autosave failed: ") + QString::fromStdString(error));
        return;
    }
    written_ = true;
    writtenSerial_ = serial;
}

void Autosave::discard() {
    QFile::remove(path_);
    written_ = false;
}

std::vector<Autosave::Leftover> Autosave::leftovers() const {
    std::vector<Leftover> found;
    if (directory().isEmpty())
        return found;
    const QDir dir(directory());
    for (const QFileInfo& file :
         dir.entryInfoList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files)) {
        bool valid = false;
        const qint64 pid = file.completeBaseName().mid(kPrefix.size()).toLongLong(&valid);
        if (!valid || pid == QCoreApplication::applicationPid() || processRuns(pid))
            continue;
        found.push_back({file.absoluteFilePath(), file.lastModified()});
    }
    std::sort(found.begin(), found.end(),
              [](const Leftover& a, const Leftover& b) { return a.written > b.written; });
    return found;
}

QString Autosave::directory() {
    if (!chosenDirectory().isEmpty())
        return chosenDirectory();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void Autosave::setDirectory(const QString& directory) {
    chosenDirectory() = directory;
}
