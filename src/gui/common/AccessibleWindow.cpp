#include "AccessibleWindow.h"

#include <QMenu>

namespace {

constexpr const char* kRole = "kelmoAccessibleRole";
constexpr const char* kHidden = "kelmoHiddenFromScreenReaders";

QAccessibleInterface* windowFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow())
        return nullptr;
    const QVariant role = widget->property(kRole);
    if (!role.isValid())
        return nullptr;
    return new AccessibleWindow(widget, static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

AccessibleWindow::AccessibleWindow(QWidget* window, QAccessible::Role role)
    : QAccessibleWidget(window, role)
{}

void AccessibleWindow::presentAs(QWidget* window, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(windowFactory);
        return true;
    }();
    Q_UNUSED(installed);
    window->setProperty(kRole, static_cast<int>(role));
}

void AccessibleWindow::hideFromScreenReaders(QWidget* control)
{
    control->setProperty(kHidden, true);
}

bool AccessibleWindow::isHiddenFromScreenReaders(const QWidget* control)
{
    return control->property(kHidden).toBool();
}

QList<QWidget*> AccessibleWindow::sammleGezeigteKinder() const
{
    QList<QWidget*> result;
    for (QObject* object : widget()->children()) {
        auto* control = qobject_cast<QWidget*>(object);
        if (control && !control->isWindow() && !qobject_cast<QMenu*>(control) &&
            !isHiddenFromScreenReaders(control))
            result << control;
    }
    return result;
}

int AccessibleWindow::childCount() const
{
    return static_cast<int>(sammleGezeigteKinder().size());
}

QAccessibleInterface* AccessibleWindow::child(int index) const
{
    const QList<QWidget*> children = sammleGezeigteKinder();
    if (index < 0 || index >= children.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(children.at(index));
}

int AccessibleWindow::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child || !child->object())
        return -1;
    return static_cast<int>(sammleGezeigteKinder().indexOf(qobject_cast<QWidget*>(child->object())));
}
