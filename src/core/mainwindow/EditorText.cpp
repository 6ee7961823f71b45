#include "EditorText.h"

#include "core/store/CodePage.h"

namespace EditorText {
namespace {

bool isBreak(char16_t c)
{
    return c == kParagraphSeparator || c == kLineSeparator;
}

bool startsPair(std::u16string_view text, std::size_t i)
{
    return text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
           text[i + 1] <= 0xDFFF;
}

std::u16string_view breakText(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Cr:
        return u"\r";
    case LineBreak::Lf:
        return u"\n";
    case LineBreak::CrLf:
        break;
    }
    return u"\r\n";
}

} // namespace

LineBreak lineBreakOf(std::u16string_view page)
{
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == u'\r' && i + 1 < page.size() && page[i + 1] == u'\n')
            ++i;
        else if (page[i] == u'\r')
            return LineBreak::Cr;
        else if (page[i] == u'\n')
            return LineBreak::Lf;
    }
    return LineBreak::CrLf;
}

std::u16string_view withoutFill(std::u16string_view page)
{
    const auto last = page.find_last_not_of(std::u16string_view(u" \0", 2));
    return page.substr(0, last == std::u16string_view::npos ? 0 : last + 1);
}

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

std::u16string toPage(std::u16string_view editorText, const CodePage& codePage, LineBreak lineBreak)
{
    std::u16string page;
    page.reserve(editorText.size() + editorText.size() / 16);
    for (const char16_t c : editorText) {
        if (isBreak(c))
            page += breakText(lineBreak);
        else
            page.push_back(c);
    }
    return codePage.fitted(page);
}

std::u16string storable(std::u16string_view editorText, const CodePage& codePage)
{
    std::u16string text;
    text.reserve(editorText.size());
    for (std::size_t i = 0; i < editorText.size(); ++i) {
        const char16_t c = editorText[i];
        if (startsPair(editorText, i))
            ++i;
        text.push_back(isBreak(c) || codePage.canEncode(c) ? c : u'?');
    }
    return text;
}

std::size_t storedLength(std::u16string_view editorText, LineBreak lineBreak)
{
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < editorText.size(); ++i) {
        if (startsPair(editorText, i))
            ++i;
        bytes += isBreak(editorText[i]) ? breakText(lineBreak).size() : 1;
    }
    return bytes;
}

std::size_t fittingPrefix(std::u16string_view text, std::size_t room, LineBreak lineBreak)
{
    std::size_t bytes = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t width = isBreak(text[i]) ? breakText(lineBreak).size() : 1;
        const std::size_t characters = startsPair(text, i) ? 2 : 1;
        if (bytes + width > room)
            break;
        bytes += width;
        i += characters;
    }
    return i;
}

} // namespace EditorText
