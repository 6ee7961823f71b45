#include "QtTrayIcon.h"

#include "X11TrayOwnerWatch.h"

#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdlib>

#ifdef KELMO_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#endif

namespace {

const char* const kWatcherName = "org.kde.StatusNotifierWatcher";

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
           bus.interface()->isServiceRegistered(QString::fromLatin1(kWatcherName));
#else
    return false;
#endif
}

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

QtTrayIcon::QtTrayIcon()
{
    settle_.setSingleShot(true);
    settle_.setInterval(300);
    connect(&settle_, &QTimer::timeout, this, &QtTrayIcon::pruefeHost);
    beobachteX11Tray();
    // Where an X11 tray answers, there is a tray whatever else runs, and the
    // window can be shown; which kind of host shows the icon is a question
    // on the session bus, asked when the icon is first added.
    if (x11TrayOwner_ != 0)
        host_ = TrayHost::Classic;
    else
        bestimmeArt();
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::bestimmeArt()
{
    if (kind_ != TrayHost::None)
        return;
    // Asked before the first icon is made, as Qt asks it.
    kind_ = !onX11() || statusNotifierWatcherRuns() ? TrayHost::StatusNotifier : TrayHost::Classic;
#ifdef KELMO_HAVE_DBUS
    auto* watcher = new QDBusServiceWatcher(QString::fromLatin1(kWatcherName), QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, &settle_, qOverload<>(&QTimer::start));
#endif
    baueSymbol();
    const TrayHost before = host_;
    host_ = frageHost();
    if (host_ != before && onHostChanged)
        onHostChanged();
}

void QtTrayIcon::beobachteX11Tray()
{
    auto* watch = new X11TrayOwnerWatch(this);
    x11TrayOwner_ = watch->owner();
    connect(watch, &X11TrayOwnerWatch::ownerChanged, this, [this, watch] {
        x11TrayOwner_ = watch->owner();
        settle_.start();
    });
}

TrayHost QtTrayIcon::frageHost() const
{
    const bool there = kind_ == TrayHost::StatusNotifier && onX11()
                           ? statusNotifierWatcherRuns()
                           : QSystemTrayIcon::isSystemTrayAvailable();
    return there ? kind_ : TrayHost::None;
}

void QtTrayIcon::pruefeHost()
{
    if (kind_ == TrayHost::None) {
        bestimmeArt();
        return;
    }
    const TrayHost now = frageHost();
    if (now == host_)
        return;
    const TrayHost before = host_;
    host_ = now;
    // A fresh icon finds the new host for certain, whichever way Qt would
    // have brought the old one back.
    if (before == TrayHost::None)
        baueSymbol();
    if (onHostChanged)
        onHostChanged();
}

void QtTrayIcon::baueSymbol()
{
    icon_ = std::make_unique<QSystemTrayIcon>();
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (onActivated)
            onActivated(activation(reason));
    });
    if (menu_)
        icon_->setContextMenu(menu_);
    if (wanted_) {
        icon_->setIcon(picture_);
        icon_->setToolTip(toolTip_);
        icon_->show();
    }
}

TrayHost QtTrayIcon::host() const
{
    return host_;
}

void QtTrayIcon::add(const QIcon& icon, const QString& toolTip)
{
    bestimmeArt();
    wanted_ = true;
    picture_ = icon;
    toolTip_ = toolTip;
    icon_->setIcon(icon);
    icon_->setToolTip(toolTip);
    icon_->show();
}

void QtTrayIcon::setToolTip(const QString& toolTip)
{
    toolTip_ = toolTip;
    if (icon_)
        icon_->setToolTip(toolTip);
}

void QtTrayIcon::remove()
{
    wanted_ = false;
    if (icon_)
        icon_->hide();
}

void QtTrayIcon::setMenu(QMenu* menu)
{
    menu_ = menu;
    if (icon_)
        icon_->setContextMenu(menu);
}
