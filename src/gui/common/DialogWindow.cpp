#include "DialogWindow.h"

#include "AccessibleWindow.h"
#include "Artwork.h"
#include "Placement.h"

#include <QKeyEvent>
#include <QShowEvent>

DialogWindow::DialogWindow(const QString& name, const QString& title, const QString& picture)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(name);
    setWindowTitle(title);
    setWindowIcon(Artwork::icon(picture));
    setFont(Placement::designedFont());
    AccessibleWindow::presentAs(this, QAccessible::Dialog);
}

// Escape that no control took: a list open in the dialog closes itself on
// it and keeps the dialog open, as a shortcut would not.
void DialogWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DialogWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        Placement::centreOnScreen(this);
        shownByProgram();
    }
    QWidget::showEvent(event);
}
