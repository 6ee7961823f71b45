#include "TrayPresence.h"

#include "TrayIcon.h"
#include "core/common/Product.h"

#include <QEvent>
#include <QMenu>
#include <QWidget>
#include <QWindow>

TrayPresence::TrayPresence(QWidget& window_, TrayIcon& tray_, QMenu& menu)
    : QObject(&window_)
    , window(window_)
    , tray(tray_)
    , withTray(tray_.host() != TrayHost::None)
{
    tray.onActivated = [this](TrayActivation activation) { reagiere(activation); };
    tray.onHostChanged = [this] { richteNachTray(); };
    tray.setMenu(&menu);
    window.installEventFilter(this);
}

TrayPresence::~TrayPresence()
{
    tray.onActivated = nullptr;
    tray.onHostChanged = nullptr;
    tray.setMenu(nullptr);
}

// Without a notification area the window keeps its taskbar entry, so that a
// hidden window can always be reached again.
Qt::WindowFlags TrayPresence::windowFlags(bool withTray)
{
    const Qt::WindowFlags frame =
        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
    return frame | (withTray ? Qt::Tool : Qt::Window);
}

void TrayPresence::addIcon(const QString& toolTip)
{
    iconToolTip = toolTip;
    if (withTray)
        tray.add(window.windowIcon(), toolTip);
}

void TrayPresence::setToolTip(const QString& toolTip)
{
    if (iconToolTip.isEmpty())
        return;
    iconToolTip = toolTip;
    if (withTray)
        tray.setToolTip(toolTip);
}

void TrayPresence::removeIcon()
{
    iconToolTip.clear();
    if (withTray)
        tray.remove();
}

void TrayPresence::hideWindow()
{
    if (withTray)
        window.hide();
    else
        window.showMinimized();
}

void TrayPresence::bringBack()
{
    if (!window.isVisible() && window.isMinimized())
        vergissMinimierung();
    // show() alone leaves a minimise by the window manager in place, so the
    // minimise is undone after it.
    window.show();
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    windowHints.unshade(window);
    window.raise();
    window.activateWindow();
}

// A window hidden while minimised (the tray came back then) would be mapped
// by Qt on X11 as it is shown, before its hints and place are set: the window
// manager would put it where it liked, give it a taskbar entry and let it
// fall behind others. Its native window is let go, and made anew, not
// minimised, by the show.
void TrayPresence::vergissMinimierung()
{
    if (QWindow* native = window.windowHandle()) {
        native->destroy();
        native->setWindowStates(native->windowStates() & ~Qt::WindowMinimized);
    }
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
}

// A show of our own comes before Qt maps the window; one from the window
// manager comes after.
bool TrayPresence::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && !event->spontaneous())
        windowHints.beforeMap(window, withTray);
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        zeigeTipp();
    return QObject::eventFilter(watched, event);
}

void TrayPresence::noticesWaiting(bool waiting)
{
    noticesWait = waiting;
    zeigeTipp();
}

void TrayPresence::zeigeTipp()
{
    const QString name = QString::fromLatin1(Product::kName);
    setToolTip(noticesWait && window.isHidden() ? QStringLiteral("%1: a notice is waiting").arg(name) : name);
}

void TrayPresence::started()
{
    X11WindowHints::sendNow();
}

void TrayPresence::reagiere(TrayActivation activation)
{
    if (trayReaction(activation, tray.host()) == TrayReaction::ShowWindow)
        emit windowWanted();
}

void TrayPresence::richteNachTray()
{
    const bool trayNow = tray.host() != TrayHost::None;
    if (trayNow == withTray || windowEnded)
        return;
    withTray = trayNow;
    const bool wasVisible = window.isVisible();
    const bool wasMinimized = window.isMinimized();
    // Asked of the native window: it keeps the keyboard through a change of
    // flags, while Qt's record of the active window is cleared by the first.
    const bool wasActive = window.windowHandle() && window.windowHandle()->isActive();
    // New flags unmap the window; the taskbar entry comes and goes with them.
    // The window made anew keeps the place of its client area, as at the
    // start: Qt would put the client where the frame stood.
    const QRect client = window.geometry();
    window.setWindowFlags(windowFlags(withTray));
    window.setGeometry(client);
    if (withTray && !iconToolTip.isEmpty())
        tray.add(window.windowIcon(), iconToolTip);
    // A window hidden into a tray that has gone would be out of reach. The
    // panel that held the tray mostly held the taskbar too, so it comes back
    // whole rather than minimised.
    if (!withTray && (!wasVisible || wasMinimized)) {
        emit windowWanted();
    } else if (wasVisible && !wasMinimized) {
        window.show();
        // Window managers give the keyboard to few new windows of a tray's
        // kind: what the user types next must not go nowhere.
        if (wasActive)
            window.activateWindow();
    }
    if (window.isVisible())
        windowHints.repeatStates(window, withTray);
}
