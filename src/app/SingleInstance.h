#pragma once

#include <QFileSystemWatcher>
#include <QLockFile>
#include <QObject>
#include <QString>

// One Kelmo-Note per notebook: a second copy started in the same folder
// would write the notebook over the first one's at its end. It asks the
// first copy to show its window instead and leaves everything alone.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& folder);
    ~SingleInstance() override;

    // True when this is the only copy for the folder; from then on later
    // copies reach it through showRequested.
    bool claim();

signals:
    void showRequested();

private:
    // Later copies write a line into a file the first copy watches.
    bool askRunningCopyToShow() const;
    void readRequests(const QString& path);

    QString requestFile_;
    QLockFile lock_;
    QFileSystemWatcher watcher_;
};
