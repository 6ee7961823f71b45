#include "EditorText.h"

#include "store/CodePage.h"

namespace EditorText {

std::u16string fromPage(std::u16string_view page)
{
    std::u16string text;
    text.reserve(page.size());
    for (std::size_t i = 0; i < page.size(); ++i) {
        const char16_t c = page[i];
        if (c == u'\r' && i + 1 < page.size() && page[i + 1] == u'\n')
            ++i;
        text.push_back(c == u'\r' || c == u'\n' ? kParagraphSeparator : c);
    }
    return text;
}

std::u16string toPage(std::u16string_view editorText, const CodePage& codePage)
{
    std::u16string page;
    page.reserve(editorText.size() + editorText.size() / 16);
    for (const char16_t c : editorText) {
        if (c == kParagraphSeparator || c == kLineSeparator)
            page += u"\r\n";
        else
            page.push_back(c);
    }
    return codePage.fitted(page);
}

} // namespace EditorText
