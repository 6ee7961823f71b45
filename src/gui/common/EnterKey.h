#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Enter and Return on a control do `press`, once for each time the key goes
// down: a held key repeats nothing.
class EnterKey : public QObject {
    Q_OBJECT

public:
    EnterKey(QWidget* control, std::function<void()> press);

    // Enter on a button presses it, as Space does.
    static void pressesButton(QWidget* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> press;
};
