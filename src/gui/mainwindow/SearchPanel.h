#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class MainWindowControls;
class UserDialogs;
class WindowGeometry;
class WindowRoll;

// The search panel under the page: rolled into view and out of it again,
// and the search in the page's text from the caret on.
class SearchPanel {
public:
    // `rollUp` and `rollDown` take the roll's argument; `closed` tells
    // whether the window went while the roll let other events run.
    SearchPanel(MainWindowControls& controls, WindowGeometry& geometry, WindowRoll& roll,
                UserDialogs& dialogs, std::function<bool()> closed);

    // Rolls the panel down, or up again.
    void toggle(const std::function<void(std::int16_t)>& rollUp,
                const std::function<void(std::int16_t)>& rollDown);
    // Selects the next place the term stands on the page, or says there is none.
    void findNext();
    // The same for `term`, whatever the panel's field holds.
    void findNextOf(const QString& term, bool matchCase);
    // Finds again; a panel out of view is rolled down first.
    void findAgain();

private:
    MainWindowControls& controls;
    WindowGeometry& geometry;
    WindowRoll& roll;
    UserDialogs& dialogs;
    std::function<bool()> closed;
};
