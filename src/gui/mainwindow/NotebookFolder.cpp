#include "NotebookFolder.h"

#include "NotebookMessages.h"
#include "core/store/PageFile.h"
#include "core/store/WorkingFolder.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

NotebookFolder::NotebookFolder(QObject* parent)
    : QObject(parent)
{}

NotebookFolder::~NotebookFolder() = default;

FileSystem* NotebookFolder::open()
{
    std::optional<FileError> error;
    auto opened = FileSystem::openFolder(WorkingFolder::path(), error);
    if (!opened)
        return nullptr;
    held = std::move(opened);
    return held.get();
}

void NotebookFolder::watch()
{
    watcher = new QFileSystemWatcher(this);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &NotebookFolder::changed);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &NotebookFolder::changed);
    beobachte();
}

// The lock and the watch go to the folder made again first.
FileSystem* NotebookFolder::follow(bool folderGone)
{
    const bool rejoined = WorkingFolder::rejoin();
    FileSystem* moved = (rejoined || folderGone) && sperreNeu() ? open() : nullptr;
    // The old paths lead to a folder that is gone.
    if (moved && watcher)
        watcher->removePaths(watcher->files() + watcher->directories());
    if (watcher)
        beobachte();
    return moved;
}

// Another copy started in the folder made again holds its lock: this one
// writes nothing there, and says so.
bool NotebookFolder::sperreNeu()
{
    auto lock = std::make_unique<NotebookLock>();
    const std::string notebook = FileSystem::inFolder(WorkingFolder::path(), PageFile::kName);
    heldElsewhere = lock->take(notebook) == NotebookLock::Outcome::HeldElsewhere;
    if (heldElsewhere) {
        emit notice(QStringLiteral("file"), NotebookMessages::lockedOut());
        return false;
    }
    movedLock = std::move(lock);
    return true;
}

// A replaced file is a new one, and the watch on the old one ends with it;
// the folder's watch sees the new one come.
void NotebookFolder::beobachte()
{
    const QFileInfo notebook(QString::fromLatin1(PageFile::kName));
    const QString file = notebook.canonicalFilePath();
    const QString holding = file.isEmpty() ? notebook.absolutePath() : QFileInfo(file).absolutePath();
    for (const QString& path : {file, holding})
        if (!path.isEmpty() && !watcher->files().contains(path) && !watcher->directories().contains(path))
            watcher->addPath(path);
}
