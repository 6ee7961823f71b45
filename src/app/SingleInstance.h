#pragma once

#include "core/store/FileSystem.h"
#include "core/store/NotebookLock.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

// One Kelmo-Note per notebook: a second copy would write the notebook over
// the first one's at its end. The notebook's lock decides which copy runs;
// a later copy asks the running one to show its window and leaves
// everything alone.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Claim {
        // This copy keeps the notebook; later copies reach it through showRequested.
        Alone,
        // The file system cannot lock; this copy runs unguarded.
        Unguarded,
        // Another copy keeps the notebook and was asked to show its window.
        ShownElsewhere,
        // Another copy keeps the notebook and cannot be reached from here
        // (another computer, another temporary folder).
        OpenElsewhere,
    };

    explicit SingleInstance(const QString& notebookPath);
    ~SingleInstance() override;

    Claim claim();
    // Why the notebook cannot be locked, for Unguarded.
    QString lockFailure() const;

signals:
    void showRequested();

private:
    // Later copies add a line to a file the running copy watches, in a
    // folder only the user can reach; it is never truncated or followed
    // through a link.
    bool bitteUmAnzeige() const;
    void leseAnfragen();
    void oeffneKanal();

    QString notebookFile;
    std::string requestName;
    std::string channelFolder;
    std::unique_ptr<FileSystem> channel;
    std::uint64_t requestsSeen = 0;
    NotebookLock notebookLock;
    QFileSystemWatcher watcher;
    bool owner = false;
};
