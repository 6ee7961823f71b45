#pragma once

#include "core/store/FileSystem.h"
#include "core/store/NotebookLock.h"

#include <QObject>
#include <QString>
#include <memory>

class QFileSystemWatcher;

// The folder that holds the notebook. It is held open, so that the disk is
// reached through it and never through a working directory that changes
// meanwhile; it and the notebook in it are watched; and where it is removed
// and made again at its path, the lock, the handle and the watch move to the
// new one, unless another copy of the program holds it already.
class NotebookFolder : public QObject {
    Q_OBJECT

public:
    explicit NotebookFolder(QObject* parent = nullptr);
    ~NotebookFolder() override;

    // The folder the program started in, held open; null where it cannot be
    // opened (the disk is then reached by its path).
    FileSystem* open();
    // Begins to watch the folder and the notebook.
    void watch();
    // After the folder went away and came back: the new one, held open, or
    // null where nothing moved.
    FileSystem* follow(bool folderGone);
    // The folder made again is held by another copy: ours writes nothing there.
    bool lockedOut() const { return heldElsewhere; }

signals:
    // The folder or the notebook changed on disk.
    void changed();
    // Something to tell that answers nothing the user did.
    void notice(const QString& kind, const QString& text);

private:
    bool sperreNeu();
    void beobachte();

    std::unique_ptr<FileSystem> held;
    QFileSystemWatcher* watcher = nullptr;
    std::unique_ptr<NotebookLock> movedLock;
    bool heldElsewhere = false;
};
