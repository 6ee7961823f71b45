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
    : notebookPath_(notebookPath)
{
    oeffneKanal();
}

SingleInstance::~SingleInstance()
{
    if (owner_ && channel_)
        (void)channel_->remove(requestName_);
}

void SingleInstance::oeffneKanal()
{
    std::optional<FileError> error;
    channelFolder_ = UserFolders::runtime();
    if (!channelFolder_.empty())
        channel_ = FileSystem::openFolder(channelFolder_, error);
}

SingleInstance::Claim SingleInstance::claim()
{
    const NotebookLock::Outcome outcome = lock_.take(QFile::encodeName(notebookPath_).toStdString());
    requestName_ = requestNameFor(lock_.identity());
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
    // A request file left by a copy that crashed is ours to go on with; a
    // name someone else made, or a link, is refused: then no later copy can
    // reach this one, and it says so when it is started.
    std::unique_ptr<OpenedFile> requests;
    bool created = false;
    if (channel_ && !channel_->openForUpdate(requestName_, requests, created)) {
        requestsSeen_ = requests->facts().stamp.size;
        (void)requests->close();
        const QString path = QString::fromStdString(FileSystem::inFolder(channelFolder_, requestName_));
        watcher_.addPath(path);
        connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SingleInstance::leseAnfragen);
    }
    return outcome == NotebookLock::Outcome::Taken ? Claim::Alone : Claim::Unguarded;
}

QString SingleInstance::lockFailure() const
{
    return QString::fromStdString(lock_.reason());
}

// Each request is a line: the file grows, and is never shortened by us.
void SingleInstance::leseAnfragen()
{
    FileFacts found;
    if (channel_->facts(requestName_, found) || !found.exists)
        return;
    if (found.stamp.size > requestsSeen_) {
        requestsSeen_ = found.stamp.size;
        emit showRequested();
    }
    // Watching ends when the file is replaced or removed; take it up again.
    const QString path = QString::fromStdString(FileSystem::inFolder(channelFolder_, requestName_));
    if (!watcher_.files().contains(path))
        watcher_.addPath(path);
}

bool SingleInstance::bitteUmAnzeige() const
{
    FileFacts found;
    if (!channel_ || channel_->facts(requestName_, found) || !found.exists)
        return false;
    std::unique_ptr<OpenedFile> requests;
    bool created = false;
    if (channel_->openForUpdate(requestName_, requests, created))
        return false;
    if (created) {
        (void)requests->close();
        (void)channel_->remove(requestName_);
        return false;
    }
    const char line[] = "show\n";
    return !requests->writeAt(requests->facts().stamp.size, line, sizeof line - 1) && !requests->close();
}
