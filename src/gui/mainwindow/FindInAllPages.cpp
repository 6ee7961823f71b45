#include "FindInAllPages.h"

#include "FindWindow.h"
#include "NotebookSession.h"
#include "core/store/BusinessDataTier.h"

FindInAllPages::FindInAllPages(NotebookSession& session_, QObject* parent)
    : QObject(parent)
    , session(session_)
{}

FindInAllPages::~FindInAllPages() = default;

void FindInAllPages::open()
{
    if (!findWindow) {
        findWindow = std::make_unique<FindWindow>(session.pages());
        connect(findWindow.get(), &FindWindow::pageChosen, this, &FindInAllPages::merke);
        connect(findWindow.get(), &FindWindow::closed, this, &FindInAllPages::closed);
    }
    findWindow->open();
}

// The page is shown first; the word counts from then on.
void FindInAllPages::merke(std::int16_t page, int position, int length, const QString& word, bool matchCase)
{
    emit pageChosen(page, position, length);
    found = {word, matchCase};
    foundPage = page;
    foundRead = session.pages().timesRead();
}

std::optional<FindInAllPages::Word> FindInAllPages::wordOnPage()
{
    const BusinessDataTier& pages = session.pages();
    if (found.text.isEmpty() || foundPage != pages.currentPage() || foundRead != pages.timesRead()) {
        found = {};
        return std::nullopt;
    }
    return found;
}
