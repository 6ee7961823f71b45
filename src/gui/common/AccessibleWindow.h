#pragma once

#include <QAccessibleWidget>

// What a screen reader is shown of one of the program's windows: the role
// the window plays, and its controls without those that hold nothing to read
// (the artwork, a control that only keeps a state).
class AccessibleWindow : public QAccessibleWidget {
public:
    AccessibleWindow(QWidget* window, QAccessible::Role role);

    // The window is shown to screen readers in `role`.
    static void presentAs(QWidget* window, QAccessible::Role role);
    // The control stays on the screen but is not shown to screen readers.
    static void hideFromScreenReaders(QWidget* control);
    static bool isHiddenFromScreenReaders(const QWidget* control);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> sammleGezeigteKinder() const;
};
