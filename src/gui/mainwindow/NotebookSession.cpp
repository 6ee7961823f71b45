#include "NotebookSession.h"

#include "NotebookKeeper.h"
#include "PageEditor.h"
#include "PageView.h"
#include "core/store/BusinessDataTier.h"

NotebookSession::NotebookSession(PageEditor& editor_, UserDialogs& dialogs_, QObject* parent)
    : QObject(parent)
    , editor(editor_)
    , dialogs(dialogs_)
    , pageView(std::make_unique<PageView>(editor_, dialogs_))
{}

NotebookSession::~NotebookSession() = default;

BusinessDataTier& NotebookSession::pages()
{
    if (!store)
        store = std::make_unique<BusinessDataTier>(dialogs);
    return *store;
}

bool NotebookSession::load()
{
    keeper = new NotebookKeeper(pages(), dialogs, this);
    connect(keeper, &NotebookKeeper::pagesWanted, this, &NotebookSession::storePage);
    // Another program changed the notebook: the page is shown as it is now,
    // and the user goes on typing where they were.
    connect(keeper, &NotebookKeeper::pagesReloaded, this, [this] { pageView->showAgain(pages()); });
    connect(keeper, &NotebookKeeper::notice, this, &NotebookSession::notice);
    connect(keeper, &NotebookKeeper::noticeOver, this, &NotebookSession::noticeOver);
    // What is typed is in the pages at once, for an end that cannot ask.
    connect(&editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!pageView->showing())
            storePage();
    });
    connect(&editor, &QPlainTextEdit::textChanged, keeper, &NotebookKeeper::typed);
    read = keeper->loadAtStart();
    return read;
}

void NotebookSession::storePage()
{
    pageView->store(pages());
}

void NotebookSession::showPage()
{
    pageView->show(pages());
}

void NotebookSession::turn(std::int16_t button)
{
    pageView->turn(pages(), button);
    if (keeper)
        keeper->typed();
}

void NotebookSession::goTo(std::int16_t page, int position, int length)
{
    storePage();
    pages().moveTo(page);
    showPage();
    pageView->select(position, length);
}

bool NotebookSession::saveAtEnd()
{
    return !read || keeper->saveAtEnd();
}

void NotebookSession::saveWithoutAsking()
{
    if (keeper && read)
        keeper->saveWithoutAsking();
}

// The keeper itself does nothing after its last save, or where the
// notebook was not read.
void NotebookSession::windowHidden()
{
    if (keeper)
        keeper->saveBetweenTimes();
}

void NotebookSession::windowShown()
{
    if (keeper)
        keeper->lookAtFile();
}
