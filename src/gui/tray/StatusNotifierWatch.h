#pragma once

#include <QObject>

// Whether a StatusNotifier host runs: it owns the name
// org.kde.StatusNotifierWatcher on the session bus, whose changes of owner
// the bus announces. Knows nothing of the icon it serves.
class StatusNotifierWatch : public QObject {
    Q_OBJECT

public:
    explicit StatusNotifierWatch(QObject* parent);

    // Whether a host runs now.
    static bool running();
    // From now on, `changed` follows every change of the name's owner.
    void follow();

signals:
    void changed();
};
