#include "FindInAllPages.h"

#include "FindWindow.h"
#include "core/store/BusinessDataTier.h"

FindInAllPages::FindInAllPages(const BusinessDataTier& store_, QObject* parent)
    : QObject(parent)
    , store(store_)
{}

FindInAllPages::~FindInAllPages() = default;

void FindInAllPages::open()
{
    if (!findWindow) {
        findWindow = std::make_unique<FindWindow>(store);
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
    foundRead = store.timesRead();
}

std::optional<FindInAllPages::Word> FindInAllPages::wordOnPage()
{
    if (found.text.isEmpty() || foundPage != store.currentPage() || foundRead != store.timesRead()) {
        found = {};
        return std::nullopt;
    }
    return found;
}
