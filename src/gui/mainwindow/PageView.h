#pragma once

#include <QString>

class BusinessDataTier;
class PageEditor;
class UserDialogs;

// Moves the current page between the notebook and the editor. The editor
// shows it without the blanks that fill its record; a page the user did not
// touch is left in the notebook as it is, whatever bytes it holds. What a
// paste could not bring onto the page is told.
class PageView {
public:
    PageView(PageEditor& editor, UserDialogs& dialogs);

    // The current page, with the caret at its start.
    void show(const BusinessDataTier& store);
    // The same page shown anew (another program changed it, or a command
    // left it in place): the caret and the view stay where they were, as
    // far as the text reaches.
    void showAgain(const BusinessDataTier& store);
    // Stores the editor's text into the current page, if the user changed
    // it: the notebook may have been loaded anew since the page was shown.
    void store(BusinessDataTier& store) const;

private:
    PageEditor& editor;
    QString shownText;
};
