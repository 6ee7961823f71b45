#include "core/mainwindow/EditorText.h"
#include "core/store/CodePage.h"

#include <gtest/gtest.h>

namespace {

constexpr char16_t P = EditorText::kParagraphSeparator;

TEST(EditorText, LineBreaksOfAPageBecomeParagraphs)
{
    const struct {
        std::u16string page;
        std::u16string editor;
    } cases[] = {
        {u"", u""},
        {u"one\r\ntwo", std::u16string(u"one") + P + u"two"},
        {u"a\rb\nc", std::u16string(u"a") + P + u"b" + P + u"c"},
        {u"\r\n\r\n", std::u16string{P, P}},
        {u"\n\r", std::u16string{P, P}},
        {std::u16string(u"tab\there\u00A0\0x", 11), std::u16string(u"tab\there\u00A0\0x", 11)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorText::fromPage(c.page), c.editor);
}

TEST(EditorText, ParagraphsAndLineSeparatorsBecomeCrLfAndForeignCharactersQuestionMarks)
{
    const CodePage& cp = CodePage::windows1252();
    // `storable`: as the editor shows it, breaks kept.
    const struct {
        std::u16string editor;
        std::u16string page;
        std::u16string storable;
    } cases[] = {
        {u"", u"", u""},
        {std::u16string(u"one") + P + u"two", u"one\r\ntwo", std::u16string(u"one") + P + u"two"},
        {u"a\u2028b", u"a\r\nb", u"a\u2028b"},
        {u"no\u00A0break", u"no\u00A0break", u"no\u00A0break"},
        {u"\u4E2D\U0001F600\u20AC", u"??\u20AC", u"??\u20AC"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorText::toPage(c.editor, cp), c.page);
        EXPECT_EQ(EditorText::storable(c.editor, cp), c.storable);
    }
}

TEST(EditorText, APageWithCrLfSurvivesTheRoundTrip)
{
    const std::u16string page = u"first line\r\n\r\nthird   \r\n";
    EXPECT_EQ(EditorText::toPage(EditorText::fromPage(page), CodePage::windows1252()), page);
}

} // namespace

namespace {

using EditorText::LineBreak;

TEST(EditorText, APageIsShownWithoutItsFillAndStoredWithTheBreaksItCameWith)
{
    const struct {
        std::u16string page;
        std::u16string shown;
        LineBreak lineBreak;
    } cases[] = {
        {std::u16string(2000, u' '), u"", LineBreak::CrLf},
        {std::u16string(2000, u'\0'), u"", LineBreak::CrLf},
        {std::u16string(u"text \0 \0  ", 10), u"text", LineBreak::CrLf},
        {u"  indented\r\nx  ", u"  indented\r\nx", LineBreak::CrLf},
        {u"unix\nlines\r\n", u"unix\nlines\r\n", LineBreak::Lf},
        {u"a\r\nold mac\rb", u"a\r\nold mac\rb", LineBreak::Cr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorText::withoutFill(c.page), c.shown);
        EXPECT_EQ(EditorText::lineBreakOf(c.page), c.lineBreak);
    }
    const std::u16string unix = u"one\ntwo\n";
    const std::u16string shown = EditorText::fromPage(unix);
    EXPECT_EQ(EditorText::toPage(shown, CodePage::windows1252(), LineBreak::Lf), unix);
    EXPECT_EQ(EditorText::storedLength(shown, LineBreak::Lf), unix.size());
}

TEST(EditorText, TheRoomATextTakesIsCountedInStoredBytes)
{
    const std::u16string text = std::u16string(u"ab") + P + u"\U0001F600c";
    EXPECT_EQ(EditorText::storedLength(text, LineBreak::CrLf), 6u);
    EXPECT_EQ(EditorText::storedLength(text, LineBreak::Cr), 5u);
    const struct {
        std::size_t room;
        std::size_t characters;
    } cases[] = {{0, 0}, {2, 2}, {3, 2}, {4, 3}, {5, 5}, {6, 6}, {100, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(EditorText::fittingPrefix(text, c.room, LineBreak::CrLf), c.characters) << c.room;
}

} // namespace
