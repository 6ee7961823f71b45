#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QPoint>
#include <functional>
#include <vector>

class QMenu;
class QPlainTextEdit;
class QWidget;

// The main window's keys. None repeats while it is held: a held key must
// not append pages.
//
// They are taken as the widget with the keyboard receives them, not as Qt's
// shortcuts: a screen reader holds each key back until it has heard of it,
// and shortcuts act ahead of the keys so held, so that letters typed just
// before Ctrl+PageDown landed on the next page, and a word typed just before
// F3 partly in the page.
class MainWindowKeys : public QObject {
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
        std::function<void()> findInAllPages;
        // Where Ctrl+Tab from the page goes first: true where it took the
        // keyboard there.
        std::function<bool()> toNotices;
    };

    // Shift+F10 and the Menu key open `menu` at the window, and the page's
    // or the search field's own menu in them.
    static void install(QWidget& window, QPlainTextEdit& page, QMenu& menu, const Actions& actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QKeyCombination keys;
        std::function<void()> action;
    };

    MainWindowKeys(QWidget& window, std::vector<Binding> bindings);
    void beobachte(QWidget* widget);
    static void zeigeMenue(QWidget& window, QPlainTextEdit& page, QMenu& menu);
    static void zeigeEigenesMenue(QWidget& target, QPoint at);
    static void geheWeiter(QWidget& window, QPlainTextEdit& page, const Actions& actions, bool forward);

    QWidget& window;
    const std::vector<Binding> bindings;
};
