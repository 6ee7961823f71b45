#pragma once

#include "TrayReaction.h"

#include <functional>

class QIcon;
class QString;

// The program's icon in the desktop's notification area.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;

    // TrayHost::None where the desktop has no notification area.
    virtual TrayHost host() const = 0;
    virtual void add(const QIcon& icon, const QString& toolTip) = 0;
    virtual void remove() = 0;

    // Called for every activation of the icon while it is there.
    std::function<void(TrayActivation)> onActivated;
};
