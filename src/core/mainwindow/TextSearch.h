#pragma once

#include <string_view>

// Finding a term in the editor's text. Positions are 0-based offsets of
// UTF-16 characters, as the editor's caret counts them.
namespace TextSearch {

struct Selection {
    int start = 0;
    int length = 0;
};

struct Result {
    bool found = false;
    Selection selection; // the occurrence; the caret at 0 when none was found
};

// The next occurrence of `term` from the caret on. With an occurrence
// selected, the search starts one character after the selection's start,
// so repeated searches step through overlapping occurrences too. Without
// `matchCase`, letter case is ignored.
Result next(std::u16string_view text, std::u16string_view term, bool matchCase, Selection current);

// The character with its letter case folded away, one for one.
char16_t folded(char16_t c);

} // namespace TextSearch
