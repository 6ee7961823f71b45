#pragma once

#include <string>
#include <string_view>

class CodePage;

// The editor keeps its lines as paragraphs; a page keeps them as CR LF, as
// the notebooks written on Windows do.
namespace EditorText {

inline constexpr char16_t kParagraphSeparator = u'\u2029';
inline constexpr char16_t kLineSeparator = u'\u2028';

// CR LF, and a lone CR or LF, start a new paragraph.
std::u16string fromPage(std::u16string_view page);

// Paragraph and line separators become CR LF, and characters the page file
// cannot hold become '?', so the page holds exactly what the file will.
std::u16string toPage(std::u16string_view editorText, const CodePage& codePage);

} // namespace EditorText
