#pragma once

#include "gui/tray/TrayIcon.h"

#include <QIcon>
#include <QString>

class QMenu;

// A tray that is there (or not) as the test says, and remembers its icon.
class FakeTray : public TrayIcon {
public:
    TrayHost kind = TrayHost::Classic;
    bool shown = false;
    int adds = 0;
    int removes = 0;
    QString toolTip;
    QIcon icon;
    QMenu* menu = nullptr;

    TrayHost host() const override { return kind; }
    void add(const QIcon& newIcon, const QString& tip) override
    {
        ++adds;
        shown = true;
        icon = newIcon;
        toolTip = tip;
    }
    void remove() override
    {
        ++removes;
        shown = false;
    }
    void setToolTip(const QString& tip) override { toolTip = tip; }
    void setMenu(QMenu* newMenu) override { menu = newMenu; }
    void activate(TrayActivation activation)
    {
        if (onActivated)
            onActivated(activation);
    }
    // The desktop's tray host starts or stops.
    void changeHost(TrayHost newKind)
    {
        kind = newKind;
        if (onHostChanged)
            onHostChanged();
    }
};
