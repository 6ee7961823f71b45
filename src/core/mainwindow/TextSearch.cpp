#include "TextSearch.h"

#include <cstddef>

namespace TextSearch {

char16_t folded(char16_t c)
{
    const auto lower = [](int offset, char16_t ch) { return static_cast<char16_t>(ch + offset); };
    if ((c >= u'A' && c <= u'Z') || (c >= u'\u00C0' && c <= u'\u00DE' && c != u'\u00D7'))
        return lower(0x20, c);
    if ((c >= u'\u0391' && c <= u'\u03AB' && c != u'\u03A2') || (c >= u'\u0410' && c <= u'\u042F'))
        return lower(0x20, c); // Greek, Cyrillic
    if (c >= u'\u0400' && c <= u'\u040F')
        return lower(0x50, c);
    // Latin Extended-A keeps its letters in pairs, capital first; the pairs
    // start on even code points in some runs and on odd ones in others.
    if ((c >= u'\u0100' && c <= u'\u012F') || (c >= u'\u0132' && c <= u'\u0137') ||
        (c >= u'\u014A' && c <= u'\u0177'))
        return static_cast<char16_t>(c | 1);
    if ((c >= u'\u0139' && c <= u'\u0148') || (c >= u'\u0179' && c <= u'\u017E'))
        return lower(c & 1, c);
    if (c == u'\u0178')
        return u'\u00FF';
    return c;
}

namespace {

bool matchesAt(std::u16string_view text, std::size_t at, std::u16string_view term, bool matchCase)
{
    for (std::size_t i = 0; i < term.size(); ++i) {
        const char16_t a = text[at + i];
        const char16_t b = term[i];
        if (a != b && (matchCase || folded(a) != folded(b)))
            return false;
    }
    return true;
}

} // namespace

Result next(std::u16string_view text, std::u16string_view term, bool matchCase, Selection current)
{
    const Result none{false, {0, 0}};
    const std::size_t start = static_cast<std::size_t>(current.start) + (current.length > 0 ? 1 : 0);
    if (text.empty() || start >= text.size())
        return none;
    if (term.empty())
        return {true, {static_cast<int>(start), 0}};
    for (std::size_t at = start; at + term.size() <= text.size(); ++at)
        if (matchesAt(text, at, term, matchCase))
            return {true, {static_cast<int>(at), static_cast<int>(term.size())}};
    return none;
}

} // namespace TextSearch
