#include "QtTrayIcon.h"

#include <QSystemTrayIcon>

#ifdef KELMO_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#endif

namespace {

TrayActivation activation(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayActivation::Click;
    case QSystemTrayIcon::DoubleClick:
        return TrayActivation::DoubleClick;
    case QSystemTrayIcon::Context:
        return TrayActivation::Context;
    case QSystemTrayIcon::MiddleClick:
        return TrayActivation::MiddleClick;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayActivation::Other;
}

// Qt shows the icon through D-Bus whenever a StatusNotifier watcher runs.
bool statusNotifierWatcherRuns()
{
#ifdef KELMO_HAVE_DBUS
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
#else
    return false;
#endif
}

} // namespace

QtTrayIcon::QtTrayIcon()
    : icon_(std::make_unique<QSystemTrayIcon>())
{
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (onActivated)
            onActivated(activation(reason));
    });
}

QtTrayIcon::~QtTrayIcon() = default;

TrayHost QtTrayIcon::host() const
{
    if (!host_) {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            host_ = TrayHost::None;
        else
            host_ = statusNotifierWatcherRuns() ? TrayHost::StatusNotifier : TrayHost::Classic;
    }
    return *host_;
}

void QtTrayIcon::add(const QIcon& icon, const QString& toolTip)
{
    icon_->setIcon(icon);
    icon_->setToolTip(toolTip);
    icon_->show();
}

void QtTrayIcon::remove()
{
    icon_->hide();
}
