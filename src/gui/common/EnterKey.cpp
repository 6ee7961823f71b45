#include "EnterKey.h"

#include "HeldKeys.h"

#include <QAbstractButton>
#include <QKeyEvent>

EnterKey::EnterKey(QWidget* control, std::function<void()> press_)
    : QObject(control)
    , press(std::move(press_))
{
    control->installEventFilter(this);
    HeldKeys::watch();
}

void EnterKey::pressesButton(QWidget* button)
{
    auto* pressable = qobject_cast<QAbstractButton*>(button);
    new EnterKey(button, [pressable] { pressable->click(); });
}

bool EnterKey::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (!key->isAutoRepeat() && !HeldKeys::repeating())
        press();
    return true;
}
