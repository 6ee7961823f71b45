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
    // `closed` tells whether the window has been unloaded.
    TrayPresence(QWidget& window, TrayIcon& tray, QMenu& menu, std::function<bool()> closed);
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
    // To be called from the window's show event.
    void showing(bool spontaneous);

signals:
    // The tray asks for the window, or a tray that went would leave it out
    // of reach.
    void windowWanted();

private:
    void reagiere(TrayActivation activation);
    void richteNachTray();
    void vergissMinimierung();

    QWidget& window;
    TrayIcon& tray;
    std::function<bool()> closed;
    bool withTray;
    QString iconToolTip;
    X11WindowHints windowHints;
};
