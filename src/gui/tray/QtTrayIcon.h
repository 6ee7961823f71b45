#pragma once

#include "TrayIcon.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>

class QMenu;
class QSystemTrayIcon;

// Qt's tray icon, kept in step with tray hosts that start and stop while the
// program runs, as StatusNotifierWatch (on the session bus) and
// X11TrayOwnerWatch (by the X server's events) report them.
class QtTrayIcon : public QObject, public TrayIcon {
    Q_OBJECT

public:
    QtTrayIcon();
    ~QtTrayIcon() override;

    TrayHost host() const override;
    void add(const QIcon& icon, const QString& toolTip) override;
    void remove() override;
    void setToolTip(const QString& toolTip) override;
    void setMenu(QMenu* menu) override;

private:
    void bestimmeArt();
    void beobachteX11Tray();
    void pruefeHost();
    void baueSymbol();
    TrayHost frageHost() const;

    std::unique_ptr<QSystemTrayIcon> trayIcon;
    // Qt picks D-Bus or the X11 tray once a run, with the first icon: a
    // StatusNotifier host that starts later is served through its X11 tray,
    // where it has one, and a program that began with D-Bus stays with it.
    // None until asked.
    TrayHost hostKind = TrayHost::None;
    TrayHost currentHost = TrayHost::None;
    QIcon picture;
    QString shownToolTip;
    QPointer<QMenu> trayMenu;
    bool wanted = false;
    // A panel that starts brings both kinds of host at once; one look after
    // both have settled.
    QTimer settle;
    std::uint32_t x11TrayOwner = 0;
};
