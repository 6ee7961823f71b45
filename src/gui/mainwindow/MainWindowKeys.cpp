#include "MainWindowKeys.h"

#include "gui/common/HeldKeys.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

void MainWindowKeys::install(QWidget& window, QPlainTextEdit& page, QMenu& menu, const Actions& actions)
{
    HeldKeys::watch();
    auto shortcut = [&window](QKeySequence keys, std::function<void()> action, QWidget* scope = nullptr) {
        auto* result = new QShortcut(
            keys, scope ? scope : &window, &window,
            [action] {
                if (!HeldKeys::repeating())
                    action();
            },
            scope ? Qt::WidgetShortcut : Qt::WindowShortcut);
        result->setAutoRepeat(false);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), actions.previousPage);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), actions.nextPage);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Home), actions.firstPage);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_End), actions.lastPage);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), actions.searchPanel);
    shortcut(QKeySequence(Qt::Key_F3), actions.findAgain);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), actions.print);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), actions.end);
    auto showMenu = [&window, &page, &menu] { zeigeMenue(window, page, menu); };
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), showMenu);
    shortcut(QKeySequence(Qt::Key_Menu), showMenu);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), actions.leavePage, &page);
    // With Shift, platforms name the key Tab (X11) or Backtab, and Qt takes
    // the one for the other in neither direction.
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), actions.leavePageBackwards, &page);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), actions.leavePageBackwards, &page);
}

// Where text is typed (the page, the search field) the keys open its own
// menu, as the Menu key does there by itself.
void MainWindowKeys::zeigeMenue(QWidget& window, QPlainTextEdit& page, QMenu& menu)
{
    QWidget* focus = window.focusWidget();
    if (focus == &page) {
        zeigeEigenesMenue(*page.viewport(), page.cursorRect().center());
        return;
    }
    if (qobject_cast<QLineEdit*>(focus)) {
        zeigeEigenesMenue(*focus, focus->rect().center());
        return;
    }
    const QWidget* at = focus ? focus : &window;
    menu.popup(at->mapToGlobal(at->rect().center()));
}

void MainWindowKeys::zeigeEigenesMenue(QWidget& target, QPoint at)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target.mapToGlobal(at));
    QCoreApplication::sendEvent(&target, &event);
}
