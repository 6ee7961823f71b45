#pragma once

#include "core/tray/TrayReaction.h"

#include <functional>

class QIcon;
class QMenu;
class QString;

// The program's icon in the desktop's notification area.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;

    // TrayHost::None where the desktop has no notification area at present.
    virtual TrayHost host() const = 0;
    // The icon stays wanted until removed: it shows whenever a tray host is
    // there, also one that comes after it was added.
    virtual void add(const QIcon& icon, const QString& toolTip) = 0;
    virtual void remove() = 0;
    // The tip of an icon added, for as long as it stays.
    virtual void setToolTip(const QString& toolTip) = 0;
    // The icon's own menu, which the tray host opens on the right button
    // (a StatusNotifier host reads it over D-Bus and draws it itself).
    virtual void setMenu(QMenu* menu) = 0;

    // Called for every activation of the icon while it is there.
    std::function<void(TrayActivation)> onActivated;
    // Called when a tray host appears or goes away while the program runs.
    std::function<void()> onHostChanged;
};
