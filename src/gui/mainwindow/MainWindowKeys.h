#pragma once

#include <QPoint>
#include <functional>

class QMenu;
class QPlainTextEdit;
class QWidget;

// The main window's keys. None repeats while it is held: a held key must
// not append pages.
class MainWindowKeys {
public:
    struct Actions {
        std::function<void()> previousPage;
        std::function<void()> nextPage;
        std::function<void()> firstPage;
        std::function<void()> lastPage;
        std::function<void()> searchPanel;
        std::function<void()> findAgain;
        std::function<void()> print;
        std::function<void()> end;
        // Tab is a character on the page; Ctrl+Tab and Ctrl+Shift+Tab leave it.
        std::function<void()> leavePage;
        std::function<void()> leavePageBackwards;
    };

    // Shift+F10 and the Menu key open `menu` at the window, and the page's
    // or the search field's own menu in them.
    static void install(QWidget& window, QPlainTextEdit& page, QMenu& menu, const Actions& actions);

private:
    static void zeigeMenue(QWidget& window, QPlainTextEdit& page, QMenu& menu);
    static void zeigeEigenesMenue(QWidget& target, QPoint at);
};
