#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>

// Who holds the classic X11 tray (the selection _NET_SYSTEM_TRAY_Sn), told
// by the X server's own events on Qt's connection: the MANAGER message a new
// tray sends to the root window, and the old holder's window going away.
// Nothing is asked at intervals, so a program that sits in the tray does not
// wake up for it. Where there is no X11, there is no owner and no change.
class X11TrayOwnerWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit X11TrayOwnerWatch(QObject* parent = nullptr);
    ~X11TrayOwnerWatch() override;

    // The tray's window, 0 where no tray holds the selection.
    std::uint32_t owner() const { return currentOwner; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void ownerChanged();

private:
    void frageBesitzer();

    std::uint32_t trayAtom = 0;
    std::uint32_t managerAtom = 0;
    std::uint32_t currentOwner = 0;
};
