#include "FormFixture.h"

namespace {

using Navigation = FormFixture;

// A page shows its text without the blanks that fill its record.
QString shown(const std::string& text)
{
    return QString::fromLatin1(text.c_str());
}

TEST_F(Navigation, PreviousOnPageOneStaysAndShowsTheStoredForm)
{
    start(record("one") + record("two"));
    type(QStringLiteral("x"));
    click(1);
    EXPECT_EQ(form->pageStore().currentPage(), 1);
    EXPECT_EQ(editorText(), shown("xone"));
}

TEST_F(Navigation, FirstPreviousNextAndLastMoveThroughThePages)
{
    start(record("1") + record("2") + record("3"));
    click(3);
    EXPECT_EQ(editorText(), shown("3"));
    click(1);
    EXPECT_EQ(editorText(), shown("2"));
    click(4);
    EXPECT_EQ(editorText(), shown("1"));
    click(2);
    EXPECT_EQ(editorText(), shown("2"));
    EXPECT_EQ(form->pageStore().pageCount(), 3);
}

TEST_F(Navigation, NextOnTheLastPageStoresItAndAppendsABlankPage)
{
    start(record("only"));
    type(QStringLiteral("my "));
    click(2);
    EXPECT_EQ(form->pageStore().pageCount(), 2);
    EXPECT_EQ(form->pageStore().currentPage(), 2);
    EXPECT_EQ(editorText(), shown(""));
    form->close();
    EXPECT_EQ(readBytes("kel.kel"), record("my only") + record(""));
}

TEST_F(Navigation, DeleteOnTheOnlyPageAsksNothingButStoresTheEdit)
{
    start(record("page"));
    type(QStringLiteral("a "));
    click(6);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(editorText(), shown("a page"));
}

TEST_F(Navigation, DeleteAnsweredNoKeepsThePageWithItsEdits)
{
    start(record("1") + record("2"));
    type(QStringLiteral("edited "));
    dialogs.answer = false;
    click(6);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Do you want to delete this site?");
    EXPECT_EQ(form->pageStore().pageCount(), 2);
    EXPECT_EQ(editorText(), shown("edited 1"));
    EXPECT_EQ(form->RichTextBox1->textCursor().position(), 7) << "typing goes on where it stopped";
}

TEST_F(Navigation, DeleteAnsweredYesOnPageTwoOfThreeShowsTheFormerPageThree)
{
    start(record("1") + record("2") + record("3"));
    click(2);
    click(6);
    EXPECT_EQ(editorText(), shown("3"));
    EXPECT_EQ(form->pageStore().currentPage(), 2);
    form->close();
    EXPECT_EQ(readBytes("kel.kel"), record("1") + record("3"));
}

TEST_F(Navigation, AnUnknownIndexOnlyStoresAndShows)
{
    start(record("1") + record("2"));
    type(QStringLiteral("z"));
    for (const std::int16_t index : {0, 5, 7, -1})
        form->Command1_Click(index);
    EXPECT_EQ(form->pageStore().currentPage(), 1);
    EXPECT_EQ(editorText(), shown("z1"));
}

} // namespace
