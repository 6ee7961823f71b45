#pragma once

#include <QString>
#include <cstdint>
#include <string>

class BusinessDataTier;
class PageEditor;
class UserDialogs;

// Moves the current page between the notebook and the editor. The editor
// shows it without the blanks that fill its record; a page the user did not
// touch goes back exactly as it came, whatever bytes it holds, unless the
// notebook was read anew meanwhile. What a paste could not bring onto the
// page is told.
class PageView {
public:
    PageView(PageEditor& editor, UserDialogs& dialogs);

    // The current page, with the caret at its start, named for screen
    // readers by its number.
    void show(const BusinessDataTier& store);
    // The same page shown anew (another program changed it, or a command
    // left it in place): the caret and the view stay where they were, as
    // far as the text reaches.
    void showAgain(const BusinessDataTier& store);
    void store(BusinessDataTier& store) const;
    // What a page button does: the page is stored, the notebook moves, and
    // the page it is on now is shown.
    void turn(BusinessDataTier& notebook, std::int16_t button);
    // Selects `length` characters from `position` on, as a search does.
    void select(int position, int length);
    // Whether a page is being put into the editor, which is no typing.
    bool showing() const { return putting; }

private:
    void benenne(const BusinessDataTier& notebook);

    PageEditor& editor;
    std::u16string shownPage;
    QString shownText;
    std::uint64_t shownFromRead = 0;
    bool putting = false;
};
