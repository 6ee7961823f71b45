#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <map>

class FindInAllPages;
class PageEditor;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class UserDialogs;
class WindowGeometry;
class WindowRoll;

// The search panel under the page: built when it is first rolled into view,
// as most starts never search; rolled out of view again; and the search in
// the page's text from the caret on.
class SearchPanel : public QObject {
    Q_OBJECT

public:
    // `rollState` is the hidden label whose caption tells where the panel
    // is, and `rollButton` the button that rolls it.
    struct Window {
        QWidget& window;
        PageEditor& page;
        QLabel& rollState;
        QPushButton& rollButton;
        WindowGeometry& geometry;
        WindowRoll& roll;
    };
    // F3 goes on with the word last gone to in `allPages`, on its page.
    SearchPanel(const Window& window, FindInAllPages& allPages, UserDialogs& dialogs);

    // Builds the panel's controls, out of view, where they are not yet.
    void build();
    // Rolls the panel down, or up again.
    void toggle();
    // Selects the next place the term stands on the page, or says there is none.
    void findNext();
    // The same for `term`, whatever the panel's field holds.
    void findNextOf(const QString& term, bool matchCase);
    // Finds again: the word gone to in all pages while its page is shown,
    // else the panel's; a panel out of view is rolled down first.
    void findAgain();

    // The panel's designed controls; null until built.
    QGroupBox* Frame1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QCheckBox* Check1 = nullptr;
    std::map<std::int16_t, QPushButton*> Searchbutton;

signals:
    // The panel's search button was pressed.
    void searchClicked();

private:
    bool istUnten() const;
    void sucheImFeldWeiter();

    Window parts;
    FindInAllPages& allPages;
    UserDialogs& dialogs;
};
