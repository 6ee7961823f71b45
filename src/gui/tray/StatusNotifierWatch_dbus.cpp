#include "StatusNotifierWatch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

namespace {

const char* const kWatcherName = "org.kde.StatusNotifierWatcher";

} // namespace

StatusNotifierWatch::StatusNotifierWatch(QObject* parent)
    : QObject(parent)
{}

bool StatusNotifierWatch::running()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QString::fromLatin1(kWatcherName));
}

void StatusNotifierWatch::follow()
{
    auto* watcher = new QDBusServiceWatcher(QString::fromLatin1(kWatcherName), QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &StatusNotifierWatch::changed);
}
