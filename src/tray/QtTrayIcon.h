#pragma once

#include "TrayIcon.h"

#include <QObject>
#include <memory>
#include <optional>

class QSystemTrayIcon;

class QtTrayIcon : public QObject, public TrayIcon {
    Q_OBJECT

public:
    QtTrayIcon();
    ~QtTrayIcon() override;

    TrayHost host() const override;
    void add(const QIcon& icon, const QString& toolTip) override;
    void remove() override;

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    // Asked once: the answer takes a trip to the session bus.
    mutable std::optional<TrayHost> host_;
};
