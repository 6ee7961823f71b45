// Windows keeps the page file in the system's ANSI code page, as every other
// program there does. Bytes that code page does not define as one character
// fall back to Windows-1252 so that every byte still reads back unchanged.
#include "CodePage.h"

#include <windows.h>

namespace {

std::array<char16_t, 256> ansiTable()
{
    const CodePage& fallback = CodePage::windows1252();
    std::array<char16_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        const char in = static_cast<char>(byte);
        wchar_t out = 0;
        const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &in, 1, &out, 1);
        table[byte] = n == 1 ? static_cast<char16_t>(out) : fallback.decode(static_cast<unsigned char>(byte));
    }
    return table;
}

} // namespace

const CodePage& CodePage::system()
{
    static const CodePage page(ansiTable());
    return page;
}

std::string CodePage::systemName()
{
    return "Windows-" + std::to_string(GetACP());
}
