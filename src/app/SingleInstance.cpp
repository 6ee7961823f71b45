#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kWaitMs = 2000;

QString instanceName(const QString& folder)
{
    const QString canonical = QDir(folder).canonicalPath();
    const QByteArray key = (QDir::homePath() + QLatin1Char('\n') + canonical).toUtf8();
    return QStringLiteral("kelmo-note-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

} // namespace

SingleInstance::SingleInstance(const QString& folder)
    : requestFile_(QDir(QDir::tempPath()).filePath(instanceName(folder) + QStringLiteral(".show")))
    , lock_(QDir(QDir::tempPath()).filePath(instanceName(folder) + QStringLiteral(".lock")))
{}

SingleInstance::~SingleInstance()
{
    if (lock_.isLocked())
        QFile::remove(requestFile_);
}

bool SingleInstance::claim()
{
    if (!lock_.tryLock(0)) {
        if (askRunningCopyToShow())
            return false;
        // The first copy may still be starting, or just ending; give it a moment.
        if (!lock_.tryLock(kWaitMs)) {
            askRunningCopyToShow();
            return false;
        }
    }
    QFile request(requestFile_);
    if (request.open(QIODevice::WriteOnly | QIODevice::Truncate))
        request.close();
    watcher_.addPath(requestFile_);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SingleInstance::readRequests);
    return true;
}

void SingleInstance::readRequests(const QString& path)
{
    if (QFileInfo(path).size() > 0) {
        QFile request(path);
        if (request.open(QIODevice::WriteOnly | QIODevice::Truncate))
            request.close();
        emit showRequested();
    }
    // Watching ends when the file is replaced or removed; take it up again.
    if (!watcher_.files().contains(path) && QFile::exists(path))
        watcher_.addPath(path);
}

bool SingleInstance::askRunningCopyToShow() const
{
    QFile request(requestFile_);
    if (!request.exists() || !request.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    request.write("show\n");
    return true;
}
