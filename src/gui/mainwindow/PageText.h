#pragma once

#include <QString>
#include <string>
#include <string_view>

// A page's text between Qt's strings and the core's UTF-16 ones, which hold
// the same code units; and a page's stored bytes as text.
namespace PageText {

inline std::u16string_view utf16(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline QString fromUtf16(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// The notebook's bytes in its code page, as text.
QString decoded(std::string_view bytes);

} // namespace PageText
