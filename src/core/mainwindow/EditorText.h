#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CodePage;

// The editor keeps its lines as paragraphs; a page keeps them as the line
// breaks it came with, CR LF as the notebooks written on Windows do.
namespace EditorText {

inline constexpr char16_t kParagraphSeparator = u'\u2029';
inline constexpr char16_t kLineSeparator = u'\u2028';

enum class LineBreak { CrLf, Cr, Lf };

// CR LF, unless the page came with lone CR or LF breaks: then the first of
// those, so that storing an edit never makes the page longer.
LineBreak lineBreakOf(std::u16string_view page);

// The page without its fill: the trailing blanks that pad a record, and the
// NULs of a record never written.
std::u16string_view withoutFill(std::u16string_view page);

// CR LF, and a lone CR or LF, start a new paragraph.
std::u16string fromPage(std::u16string_view page);

// Paragraph and line separators become `lineBreak`, and characters the page
// file cannot hold become '?', so the page holds exactly what the file will.
std::u16string toPage(std::u16string_view editorText, const CodePage& codePage,
                      LineBreak lineBreak = LineBreak::CrLf);

// The editor's text with each character the page file cannot hold as the
// '?' it would be kept as; line and paragraph breaks stay.
std::u16string storable(std::u16string_view editorText, const CodePage& codePage);

// The bytes the editor's text takes in the page file.
std::size_t storedLength(std::u16string_view editorText, LineBreak lineBreak);

// How many characters from the start of `text` fit into `room` bytes, never
// splitting a surrogate pair.
std::size_t fittingPrefix(std::u16string_view text, std::size_t room, LineBreak lineBreak);

} // namespace EditorText
