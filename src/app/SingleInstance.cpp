#include "SingleInstance.h"

#include "core/store/UserFolders.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

// How long a copy that is still starting may take to be reachable.
constexpr int kWaitMs = 2000;

std::string requestNameFor(const std::string& identity)
{
    const QByteArray key = QByteArray::fromStdString(identity);
    return "kelmo-note-" +
           QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24).toStdString() + ".show";
}

} // namespace

SingleInstance::SingleInstance(const QString& notebookPath)
    : notebookFile(notebookPath)
{
    oeffneKanal();
}

SingleInstance::~SingleInstance()
{
    if (owner && channel)
        (void)channel->remove(requestName);
}

void SingleInstance::oeffneKanal()
{
    std::optional<FileError> error;
    channelFolder = UserFolders::runtime();
    if (!channelFolder.empty())
        channel = FileSystem::openFolder(channelFolder, error);
}

SingleInstance::Claim SingleInstance::claim()
{
    const NotebookLock::Outcome outcome = notebookLock.take(QFile::encodeName(notebookFile).toStdString());
    requestName = requestNameFor(notebookLock.identity());
    if (outcome == NotebookLock::Outcome::HeldElsewhere) {
        const QDeadlineTimer deadline(kWaitMs);
        while (!bitteUmAnzeige()) {
            if (deadline.hasExpired())
                return Claim::OpenElsewhere;
            QThread::msleep(50);
        }
        return Claim::ShownElsewhere;
    }
    owner = true;
    // A request file left by a copy that crashed is ours to go on with; a
    // name someone else made, or a link, is refused: then no later copy can
    // reach this one, and it says so when it is started.
    std::unique_ptr<OpenedFile> requests;
    bool created = false;
    if (channel && !channel->openForUpdate(requestName, requests, created)) {
        requestsSeen = requests->facts().stamp.size;
        (void)requests->close();
        const QString path = QString::fromStdString(FileSystem::inFolder(channelFolder, requestName));
        watcher.addPath(path);
        connect(&watcher, &QFileSystemWatcher::fileChanged, this, &SingleInstance::leseAnfragen);
    }
    return outcome == NotebookLock::Outcome::Taken ? Claim::Alone : Claim::Unguarded;
}

QString SingleInstance::lockFailure() const
{
    return QString::fromStdString(notebookLock.reason());
}

// Each request is a line: the file grows, and is never shortened by us.
void SingleInstance::leseAnfragen()
{
    FileFacts found;
    if (channel->facts(requestName, found) || !found.exists)
        return;
    if (found.stamp.size > requestsSeen) {
        requestsSeen = found.stamp.size;
        emit showRequested();
    }
    // Watching ends when the file is replaced or removed; take it up again.
    const QString path = QString::fromStdString(FileSystem::inFolder(channelFolder, requestName));
    if (!watcher.files().contains(path))
        watcher.addPath(path);
}

bool SingleInstance::bitteUmAnzeige() const
{
    FileFacts found;
    if (!channel || channel->facts(requestName, found) || !found.exists)
        return false;
    std::unique_ptr<OpenedFile> requests;
    bool created = false;
    if (channel->openForUpdate(requestName, requests, created))
        return false;
    if (created) {
        (void)requests->close();
        (void)channel->remove(requestName);
        return false;
    }
    const char line[] = "show\n";
    return !requests->writeAt(requests->facts().stamp.size, line, sizeof line - 1) && !requests->close();
}
