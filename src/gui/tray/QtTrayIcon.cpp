#include "QtTrayIcon.h"

#include "StatusNotifierWatch.h"
#include "X11TrayOwnerWatch.h"

#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdlib>

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

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

QtTrayIcon::QtTrayIcon()
{
    settle.setSingleShot(true);
    settle.setInterval(300);
    connect(&settle, &QTimer::timeout, this, &QtTrayIcon::pruefeHost);
    beobachteX11Tray();
    // Where an X11 tray answers, there is a tray whatever else runs, and the
    // window can be shown; which kind of host shows the icon is a question
    // on the session bus, asked when the icon is first added.
    if (x11TrayOwner != 0)
        currentHost = TrayHost::Classic;
    else
        bestimmeArt();
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::bestimmeArt()
{
    if (hostKind != TrayHost::None)
        return;
    // Asked before the first icon is made, as Qt asks it.
    hostKind = !onX11() || StatusNotifierWatch::running() ? TrayHost::StatusNotifier : TrayHost::Classic;
    // Qt shows the icon through D-Bus whenever a StatusNotifier host runs.
    auto* watch = new StatusNotifierWatch(this);
    connect(watch, &StatusNotifierWatch::changed, &settle, qOverload<>(&QTimer::start));
    watch->follow();
    baueSymbol();
    const TrayHost before = currentHost;
    currentHost = frageHost();
    if (currentHost != before && onHostChanged)
        onHostChanged();
}

void QtTrayIcon::beobachteX11Tray()
{
    auto* watch = new X11TrayOwnerWatch(this);
    x11TrayOwner = watch->owner();
    connect(watch, &X11TrayOwnerWatch::ownerChanged, this, [this, watch] {
        x11TrayOwner = watch->owner();
        settle.start();
    });
}

TrayHost QtTrayIcon::frageHost() const
{
    const bool there = hostKind == TrayHost::StatusNotifier && onX11()
                           ? StatusNotifierWatch::running()
                           : QSystemTrayIcon::isSystemTrayAvailable();
    return there ? hostKind : TrayHost::None;
}

void QtTrayIcon::pruefeHost()
{
    if (hostKind == TrayHost::None) {
        bestimmeArt();
        return;
    }
    const TrayHost now = frageHost();
    if (now == currentHost)
        return;
    const TrayHost before = currentHost;
    currentHost = now;
    // A fresh icon finds the new host for certain, whichever way Qt would
    // have brought the old one back.
    if (before == TrayHost::None)
        baueSymbol();
    if (onHostChanged)
        onHostChanged();
}

void QtTrayIcon::baueSymbol()
{
    trayIcon = std::make_unique<QSystemTrayIcon>();
    connect(trayIcon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (onActivated)
                    onActivated(activation(reason));
            });
    if (trayMenu)
        trayIcon->setContextMenu(trayMenu);
    if (wanted) {
        trayIcon->setIcon(picture);
        trayIcon->setToolTip(shownToolTip);
        trayIcon->show();
    }
}

TrayHost QtTrayIcon::host() const
{
    return currentHost;
}

void QtTrayIcon::add(const QIcon& icon, const QString& toolTip)
{
    bestimmeArt();
    wanted = true;
    picture = icon;
    shownToolTip = toolTip;
    trayIcon->setIcon(icon);
    trayIcon->setToolTip(toolTip);
    trayIcon->show();
}

void QtTrayIcon::setToolTip(const QString& toolTip)
{
    shownToolTip = toolTip;
    if (trayIcon)
        trayIcon->setToolTip(toolTip);
}

void QtTrayIcon::remove()
{
    wanted = false;
    if (trayIcon)
        trayIcon->hide();
}

void QtTrayIcon::setMenu(QMenu* menu)
{
    trayMenu = menu;
    if (trayIcon)
        trayIcon->setContextMenu(menu);
}
