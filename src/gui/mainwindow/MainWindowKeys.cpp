#include "MainWindowKeys.h"

#include "gui/common/HeldKeys.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

void MainWindowKeys::install(QWidget& window, QPlainTextEdit& page, QMenu& menu, const Actions& actions)
{
    HeldKeys::watch();
    auto showMenu = [&window, &page, &menu] { zeigeMenue(window, page, menu); };
    auto next = [&window, &page, actions] { geheWeiter(window, page, actions, true); };
    auto previous = [&window, &page, actions] { geheWeiter(window, page, actions, false); };
    std::vector<Binding> bindings = {
        {Qt::CTRL | Qt::Key_PageUp, actions.previousPage},
        {Qt::CTRL | Qt::Key_PageDown, actions.nextPage},
        {Qt::ALT | Qt::Key_Home, actions.firstPage},
        {Qt::ALT | Qt::Key_End, actions.lastPage},
        {Qt::CTRL | Qt::Key_F, actions.searchPanel},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_F, actions.findInAllPages},
        {QKeyCombination(Qt::Key_F3), actions.findAgain},
        {Qt::CTRL | Qt::Key_P, actions.print},
        {Qt::CTRL | Qt::Key_Q, actions.end},
        {Qt::SHIFT | Qt::Key_F10, showMenu},
        {QKeyCombination(Qt::Key_Menu), showMenu},
        // Tab is a character on the page; Ctrl+Tab and Ctrl+Shift+Tab move
        // the keyboard on from there, and from everywhere else alike.
        {Qt::CTRL | Qt::Key_Tab, next},
        // With Shift, platforms name the key Tab (X11) or Backtab.
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, previous},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, previous},
    };
    auto* keys = new MainWindowKeys(window, std::move(bindings));
    keys->beobachte(&window);
    keys->beobachte(&page);
}

MainWindowKeys::MainWindowKeys(QWidget& window_, std::vector<Binding> bindings_)
    : QObject(&window_)
    , window(window_)
    , bindings(std::move(bindings_))
{
    // Keys go to the widget with the keyboard; a widget is watched from the
    // moment it first has it, whenever it was made.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == &window)
            beobachte(now);
    });
}

void MainWindowKeys::beobachte(QWidget* widget)
{
    // Installing again moves the filter to the front, where it already is.
    widget->installEventFilter(this);
}

bool MainWindowKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const QKeyCombination pressed = static_cast<QKeyEvent*>(event)->keyCombination();
    for (const Binding& binding : bindings) {
        if (binding.keys != pressed)
            continue;
        if (!HeldKeys::repeating())
            binding.action();
        return true;
    }
    return QObject::eventFilter(watched, event);
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

// As Tab does: to the next control of the window that takes the keyboard.
// Qt draws the focus mark only after the keyboard, not a click, moved the
// focus, and a key that is no Tab counts as a click unless said otherwise.
void MainWindowKeys::geheWeiter(QWidget& window, QPlainTextEdit& page, const Actions& actions, bool forward)
{
    if (forward && page.hasFocus() && actions.toNotices && actions.toNotices())
        return;
    window.setAttribute(Qt::WA_KeyboardFocusChange);
    QWidget* from = window.focusWidget() ? window.focusWidget() : &window;
    QWidget* next = from;
    do
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    while (next != from && !(next->window() == &window && next->isVisibleTo(&window) && next->isEnabled() &&
                             (next->focusPolicy() & Qt::TabFocus)));
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}
