#include "NotebookSearch.h"

#include "TextSearch.h"
#include "core/store/CodePage.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace NotebookSearch {
namespace {

using FoldTable = std::array<unsigned char, 256>;

// Each byte with its letter case folded away as the page search folds the
// character it stands for, where the folded character has a byte too.
FoldTable foldTable(const CodePage& codePage)
{
    FoldTable table{};
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const char16_t folded = TextSearch::folded(codePage.decode(byte));
        table[static_cast<std::size_t>(b)] = codePage.canEncode(folded) ? codePage.encode(folded) : byte;
    }
    return table;
}

std::size_t findFolded(std::string_view text, std::string_view term, const FoldTable& fold, std::size_t from)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto* word = reinterpret_cast<const unsigned char*>(term.data());
    const unsigned char first = fold[word[0]];
    for (std::size_t at = from; at + term.size() <= text.size(); ++at) {
        if (fold[bytes[at]] != first)
            continue;
        std::size_t i = 1;
        while (i < term.size() && fold[bytes[at + i]] == fold[word[i]])
            ++i;
        if (i == term.size())
            return at;
    }
    return std::string_view::npos;
}

// The library's find runs memchr for the word's first byte, then compares.
std::size_t findExact(std::string_view text, std::string_view term, std::size_t from)
{
    return text.find(term, from);
}

std::string_view recordOf(const Seite& page)
{
    return {page.inhalt.data(), page.inhalt.size()};
}

} // namespace

std::string termBytes(std::u16string_view term, const CodePage& codePage)
{
    std::string bytes(term.size(), '\0');
    for (std::size_t i = 0; i < term.size(); ++i) {
        if (!codePage.canEncode(term[i]))
            return {};
        codePage.encode(&term[i], reinterpret_cast<unsigned char*>(&bytes[i]), 1);
    }
    return bytes;
}

std::string_view withoutFill(std::string_view record)
{
    const auto last = record.find_last_not_of(std::string_view(" \0", 2));
    return last == std::string_view::npos ? std::string_view() : record.substr(0, last + 1);
}

std::size_t findOnPage(std::string_view record, std::string_view term, bool matchCase,
                       const CodePage& codePage, std::size_t from)
{
    if (term.empty())
        return std::string_view::npos;
    const std::string_view text = withoutFill(record);
    return matchCase ? findExact(text, term, from) : findFolded(text, term, foldTable(codePage), from);
}

std::vector<Hit> find(const PageList& pages, std::string_view term, bool matchCase, const CodePage& codePage)
{
    std::vector<Hit> hits;
    if (term.empty())
        return hits;
    const FoldTable fold = foldTable(codePage);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string_view text = withoutFill(recordOf(pages[i]));
        const std::size_t at = matchCase ? findExact(text, term, 0) : findFolded(text, term, fold, 0);
        if (at != std::string_view::npos)
            hits.push_back({static_cast<std::int16_t>(i + 1), at});
    }
    return hits;
}

int editorPosition(std::string_view record, std::size_t offset)
{
    int position = 0;
    for (std::size_t i = 0; i < offset && i < record.size(); ++i) {
        // CR LF is one break: its LF adds nothing.
        if (record[i] == '\n' && i > 0 && record[i - 1] == '\r')
            continue;
        ++position;
    }
    return position;
}

std::pair<std::size_t, std::size_t> lineAround(std::string_view record, std::size_t offset,
                                               std::size_t length, std::size_t width)
{
    const std::string_view text = withoutFill(record);
    const auto before = text.find_last_of("\r\n", offset == 0 ? std::string_view::npos : offset - 1);
    std::size_t start = offset == 0 || before == std::string_view::npos ? 0 : before + 1;
    std::size_t end = std::min(text.find_first_of("\r\n", offset + length), text.size());
    // A long line is shown around the word, the word whole.
    if (end - start > width) {
        const std::size_t room = width > length ? (width - length) / 2 : 0;
        start = std::max(start, offset > room ? offset - room : 0);
        end = std::min(end, std::max(start + width, offset + length));
    }
    return {start, end};
}

} // namespace NotebookSearch
