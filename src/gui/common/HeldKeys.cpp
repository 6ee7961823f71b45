#include "HeldKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

HeldKeys* instance = nullptr;

} // namespace

HeldKeys::HeldKeys(QObject* parent)
    : QObject(parent)
{}

void HeldKeys::watch()
{
    if (instance || !QCoreApplication::instance())
        return;
    instance = new HeldKeys(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(instance);
}

bool HeldKeys::repeating()
{
    return instance && instance->current;
}

bool HeldKeys::isRepeat(const QKeyEvent* event) const
{
    if (event->isAutoRepeat())
        return true;
    const auto released = releasedAt.find(event->key());
    return event->timestamp() != 0 && released != releasedAt.end() && released->second == event->timestamp();
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
        releasedAt[static_cast<QKeyEvent*>(event)->key()] = static_cast<QKeyEvent*>(event)->timestamp();
        break;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        current = isRepeat(static_cast<QKeyEvent*>(event));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
