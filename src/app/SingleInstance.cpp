#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

// How long a copy that is still starting may take to be reachable.
constexpr int kWaitMs = 2000;

QString requestFileFor(const std::string& identity)
{
    const QByteArray key = QByteArray::fromStdString(identity);
    const QString name =
        QStringLiteral("kelmo-note-") +
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
    return QDir(QDir::tempPath()).filePath(name + QStringLiteral(".show"));
}

} // namespace

SingleInstance::SingleInstance(const QString& notebookPath)
    : notebookPath_(notebookPath)
{}

SingleInstance::~SingleInstance()
{
    if (owner_)
        QFile::remove(requestFile_);
}

SingleInstance::Claim SingleInstance::claim()
{
    const NotebookLock::Outcome outcome = lock_.take(QFile::encodeName(notebookPath_).toStdString());
    requestFile_ = requestFileFor(lock_.identity());
    if (outcome == NotebookLock::Outcome::HeldElsewhere) {
        const QDeadlineTimer deadline(kWaitMs);
        while (!bitteUmAnzeige()) {
            if (deadline.hasExpired())
                return Claim::OpenElsewhere;
            QThread::msleep(50);
        }
        return Claim::ShownElsewhere;
    }
    owner_ = true;
    QFile request(requestFile_);
    if (request.open(QIODevice::WriteOnly | QIODevice::Truncate))
        request.close();
    watcher_.addPath(requestFile_);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SingleInstance::leseAnfragen);
    return outcome == NotebookLock::Outcome::Taken ? Claim::Alone : Claim::Unguarded;
}

QString SingleInstance::lockFailure() const
{
    return QString::fromStdString(lock_.reason());
}

void SingleInstance::leseAnfragen(const QString& path)
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

bool SingleInstance::bitteUmAnzeige() const
{
    QFile request(requestFile_);
    if (!request.exists() || !request.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    request.write("show\n");
    return true;
}
