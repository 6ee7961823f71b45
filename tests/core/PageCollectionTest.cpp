#include "RecordingDialogs.h"
#include "core/store/BusinessDataTier.h"

#include <gtest/gtest.h>

namespace {

std::u16string filled(std::u16string text)
{
    text.resize(kPageLength, u' ');
    return text;
}

// Pages "A", "B", "C" with the cursor on `cursor`.
void makeABC(BusinessDataTier& store, int cursor)
{
    store.nachname(u"A");
    store.vor();
    store.nachname(u"B");
    store.vor();
    store.nachname(u"C");
    store.erster();
    for (int i = 1; i < cursor; ++i)
        store.vor();
}

std::vector<std::u16string> allPages(BusinessDataTier& store)
{
    const auto cursor = store.currentPage();
    std::vector<std::u16string> pages;
    store.erster();
    for (int i = 1; i <= store.pageCount(); ++i) {
        pages.emplace_back(store.nachname());
        if (i < store.pageCount())
            store.vor();
    }
    store.erster();
    while (store.currentPage() < cursor)
        store.vor();
    return pages;
}

class PageCollection : public ::testing::Test {
protected:
    RecordingDialogs dialogs;
    BusinessDataTier store{dialogs};
};

TEST_F(PageCollection, StartsWithOneNeverWrittenPage)
{
    EXPECT_EQ(store.currentPage(), 1);
    EXPECT_EQ(store.pageCount(), 1);
    EXPECT_EQ(store.nachname(), std::u16string(kPageLength, u'\0'));
}

TEST_F(PageCollection, TextIsFilledWithBlanksOrCut)
{
    store.nachname(u"abc");
    EXPECT_EQ(store.nachname(), filled(u"abc"));
    store.nachname(u"");
    EXPECT_EQ(store.nachname(), filled(u""));
    std::u16string longText(2500, u'x');
    longText[1999] = u'y';
    store.nachname(longText);
    EXPECT_EQ(store.nachname(), longText.substr(0, kPageLength));
}

TEST_F(PageCollection, NextPastTheLastPageAppendsBlankPagesEachTime)
{
    makeABC(store, 3);
    store.vor();
    EXPECT_EQ(store.pageCount(), 4);
    EXPECT_EQ(store.currentPage(), 4);
    EXPECT_EQ(store.nachname(), filled(u""));
    store.vor();
    EXPECT_EQ(store.pageCount(), 5);
    EXPECT_EQ(store.currentPage(), 5);
}

TEST_F(PageCollection, CursorMovesStayWithinThePages)
{
    makeABC(store, 1);
    store.zurueck();
    EXPECT_EQ(store.currentPage(), 1);
    store.letzter();
    EXPECT_EQ(store.currentPage(), 3);
    store.zurueck();
    EXPECT_EQ(store.currentPage(), 2);
    EXPECT_EQ(store.nachname(), filled(u"B"));
    store.erster();
    EXPECT_EQ(store.currentPage(), 1);
    EXPECT_EQ(store.pageCount(), 3);
}

TEST_F(PageCollection, NewInsertsABlankPageAfterTheCurrentOne)
{
    makeABC(store, 2);
    store.neu();
    EXPECT_EQ(store.currentPage(), 3);
    EXPECT_EQ(allPages(store), (std::vector{filled(u"A"), filled(u"B"), filled(u""), filled(u"C")}));

    BusinessDataTier second(dialogs);
    makeABC(second, 3);
    second.neu();
    EXPECT_EQ(second.currentPage(), 4);
    EXPECT_EQ(allPages(second), (std::vector{filled(u"A"), filled(u"B"), filled(u"C"), filled(u"")}));
}

TEST_F(PageCollection, DeletingTheOnlyPageAsksNothingAndChangesNothing)
{
    store.nachname(u"only");
    store.entferne();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(store.pageCount(), 1);
    EXPECT_EQ(store.nachname(), filled(u"only"));
}

TEST_F(PageCollection, DeleteAsksTheQuestionAndOnlyYesDeletes)
{
    makeABC(store, 2);
    dialogs.answer = false;
    store.entferne();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].question);
    EXPECT_EQ(dialogs.boxes[0].title, "Achtung!");
    EXPECT_EQ(dialogs.boxes[0].text, "Do you want to delete this site?");
    EXPECT_EQ(store.pageCount(), 3);
    EXPECT_EQ(store.currentPage(), 2);

    dialogs.answer = true;
    store.entferne();
    EXPECT_EQ(store.currentPage(), 2);
    EXPECT_EQ(allPages(store), (std::vector{filled(u"A"), filled(u"C")}));
}

TEST_F(PageCollection, DeletingTheLastPageMovesTheCursorBack)
{
    makeABC(store, 3);
    store.entferne();
    EXPECT_EQ(store.currentPage(), 2);
    EXPECT_EQ(allPages(store), (std::vector{filled(u"A"), filled(u"B")}));
}

TEST_F(PageCollection, AFullNotebookDoesNotGrowAndSaysSo)
{
    while (store.pageCount() < kMaxPages)
        store.vor();
    store.erster();
    store.nachname(u"first");
    store.letzter();
    store.nachname(u"last");
    ASSERT_TRUE(dialogs.boxes.empty());

    store.vor();
    EXPECT_EQ(store.pageCount(), kMaxPages);
    EXPECT_EQ(store.currentPage(), kMaxPages);
    EXPECT_EQ(store.nachname(), filled(u"last"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("32767"), std::string::npos);

    store.erster();
    store.neu();
    EXPECT_EQ(store.pageCount(), kMaxPages);
    EXPECT_EQ(store.currentPage(), 1);
    EXPECT_EQ(store.nachname(), filled(u"first"));
    EXPECT_EQ(dialogs.boxes.size(), 2u);

    // Deleting makes room again.
    store.entferne();
    store.letzter();
    store.vor();
    EXPECT_EQ(store.pageCount(), kMaxPages);
    EXPECT_EQ(store.currentPage(), kMaxPages);
}

} // namespace
