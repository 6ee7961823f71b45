#include "mainwindow/EditorText.h"
#include "store/CodePage.h"

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
    const struct {
        std::u16string editor;
        std::u16string page;
    } cases[] = {
        {u"", u""},
        {std::u16string(u"one") + P + u"two", u"one\r\ntwo"},
        {u"a\u2028b", u"a\r\nb"},
        {u"no\u00A0break", u"no\u00A0break"},
        {u"\u4E2D\U0001F600\u20AC", u"??\u20AC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorText::toPage(c.editor, cp), c.page);
}

TEST(EditorText, APageWithCrLfSurvivesTheRoundTrip)
{
    const std::u16string page = u"first line\r\n\r\nthird   \r\n";
    EXPECT_EQ(EditorText::toPage(EditorText::fromPage(page), CodePage::windows1252()), page);
}

} // namespace
