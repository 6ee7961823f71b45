#pragma once

#include "X11WindowHints.h"
#include "core/tray/TrayReaction.h"

#include <QObject>
#include <functional>

class QMenu;
class QWidget;
class TrayIcon;

// The main window's presence on the desktop, in the manner of a window
// manager of its own: while a tray host is there, an icon in the tray that
// carries the menu, and a window without a taskbar entry that hides into the
// tray; without one, a window that keeps its taskbar entry and minimises, so
// that it is never out of reach. Tray hosts that come and go are followed.
class TrayPresence : public QObject {
    Q_OBJECT

public:
    TrayPresence(QWidget& window, TrayIcon& tray, QMenu& menu);
    ~TrayPresence() override;

    // The window's flags with a tray or without one.
    static Qt::WindowFlags windowFlags(bool withTray);

    bool hasTray() const { return withTray; }
    // The icon, with the window's icon and `toolTip`, wherever a tray is.
    void addIcon(const QString& toolTip);
    void removeIcon();
    // A new tip for the icon while it is there.
    void setToolTip(const QString& toolTip);
    // Into the tray, or minimised where there is none.
    void hideWindow();
    // Shows the window, also after a minimise by the window manager, above
    // the others and active.
    void bringBack();
    // After the window was first shown, or kept hidden, at the start: what
    // was asked of the display goes out now, while the program goes on
    // starting.
    void started();
    // The window has ended: a tray that comes or goes changes nothing now.
    void end() { windowEnded = true; }
    // Whether notices wait to be read: while the window is hidden, the
    // icon's tip says so.
    void noticesWaiting(bool waiting);

signals:
    // The tray asks for the window, or a tray that went would leave it out
    // of reach.
    void windowWanted();

protected:
    // Follows the window's show events.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reagiere(TrayActivation activation);
    void richteNachTray();
    void vergissMinimierung();
    void zeigeTipp();

    QWidget& window;
    TrayIcon& tray;
    // The window has ended: a tray that comes or goes changes nothing.
    bool windowEnded = false;
    bool withTray;
    QString iconToolTip;
    bool noticesWait = false;
    X11WindowHints windowHints;
};
