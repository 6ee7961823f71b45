#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

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
    bool askRunningCopyToShow() const;

    QString name_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
};
