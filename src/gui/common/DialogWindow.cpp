#include "DialogWindow.h"

#include "AccessibleWindow.h"
#include "Artwork.h"
#include "Placement.h"

#include <QKeySequence>
#include <QShortcut>
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
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
}

void DialogWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        Placement::centreOnScreen(this);
        shownByProgram();
    }
    QWidget::showEvent(event);
}
