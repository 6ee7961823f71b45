#pragma once

#include "core/store/PageList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CodePage;

// Finding a word in every page of the notebook, the way the page search
// finds it in the page shown: with or without regard to letter case, folded
// alike, never across a line break. It works on the pages' bytes, so that
// nothing is converted but what is shown; the blanks and NULs that fill a
// record are not searched.
namespace NotebookSearch {

struct Hit {
    // The page, from 1.
    std::int16_t page = 0;
    // The first place on the page, in the record's bytes.
    std::size_t offset = 0;
};

// The word as the notebook's bytes; empty where it is empty or holds a
// character the code page lacks, which then matches nothing.
std::string termBytes(std::u16string_view term, const CodePage& codePage);

// Every page that holds `term` (bytes from termBytes), in page order.
std::vector<Hit> find(const PageList& pages, std::string_view term, bool matchCase, const CodePage& codePage);

// The first place of `term` on one page's record at or after `from`;
// std::string_view::npos where there is none.
std::size_t findOnPage(std::string_view record, std::string_view term, bool matchCase,
                       const CodePage& codePage, std::size_t from = 0);

// The record without its fill.
std::string_view withoutFill(std::string_view record);

// The place in the editor's text for a byte of the record: each line break
// (CR LF, a lone CR or LF) is one character there.
int editorPosition(std::string_view record, std::size_t offset);

// The line around `offset`, at most `width` bytes of it, as [start, end).
std::pair<std::size_t, std::size_t> lineAround(std::string_view record, std::size_t offset,
                                               std::size_t length, std::size_t width);

} // namespace NotebookSearch
