#include "QtTrayIcon.h"

#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdlib>

#ifdef KELMO_HAVE_XCB
#include <X11/Xlib.h>
#include <xcb/xcb.h>
namespace {
int defaultScreen(Display* display)
{
    return DefaultScreen(display);
}
} // namespace
// Xlib's name for a null resource would hide TrayHost::None.
#undef None
#endif

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
#ifdef KELMO_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!onX11() || !x11)
        return;
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(defaultScreen(x11->display()));
    xcb_connection_t* connection = x11->connection();
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.constData()),
        nullptr);
    if (!atom)
        return;
    x11TrayAtom_ = atom->atom;
    free(atom);
    frageX11Tray();
    connect(&x11Poll_, &QTimer::timeout, this, &QtTrayIcon::frageX11Tray);
    x11Poll_.start(2000);
#endif
}

void QtTrayIcon::frageX11Tray()
{
#ifdef KELMO_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* connection = x11->connection();
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, x11TrayAtom_), nullptr);
    const std::uint32_t owner = reply ? reply->owner : 0;
    free(reply);
    if (owner != x11TrayOwner_) {
        x11TrayOwner_ = owner;
        settle_.start();
    }
#endif
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
