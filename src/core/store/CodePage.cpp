#include "CodePage.h"

namespace {

std::array<char16_t, 256> windows1252Table()
{
    // 0x80..0x9F are the only bytes that differ from Latin-1.
    static constexpr char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::array<char16_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = static_cast<char16_t>(byte);
    for (int i = 0; i < 32; ++i)
        table[0x80 + i] = high[i];
    return table;
}

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

CodePage::CodePage(const std::array<char16_t, 256>& toUnicode)
    : toUnicodeTable(toUnicode)
{
    // Walk the bytes from high to low so that, should two bytes decode to the
    // same character, the lower byte is the one written back.
    for (int byte = 255; byte >= 0; --byte) {
        fromUnicode[toUnicodeTable[byte]] = static_cast<unsigned char>(byte);
        encodable.set(toUnicodeTable[byte]);
    }
    latin1OutsideC1 = true;
    for (int byte = 0; byte < 256; ++byte)
        if ((byte < 0x80 || byte > 0x9F) && toUnicodeTable[byte] != byte)
            latin1OutsideC1 = false;
}

void CodePage::decode(const unsigned char* bytes, char16_t* characters, std::size_t count) const
{
    if (!latin1OutsideC1) {
        for (std::size_t i = 0; i < count; ++i)
            characters[i] = toUnicodeTable[bytes[i]];
        return;
    }
    // Widen everything, which the compiler turns into vector instructions,
    // then mend the few bytes of 0x80..0x9F, if there are any.
    unsigned c1 = 0;
    for (std::size_t i = 0; i < count; ++i) {
        characters[i] = bytes[i];
        c1 |= static_cast<unsigned>((bytes[i] & 0xE0) == 0x80);
    }
    if (c1 == 0)
        return;
    for (std::size_t i = 0; i < count; ++i)
        if ((bytes[i] & 0xE0) == 0x80)
            characters[i] = toUnicodeTable[bytes[i]];
}

const CodePage& CodePage::windows1252()
{
    static const CodePage page(windows1252Table());
    return page;
}

void CodePage::encode(const char16_t* characters, unsigned char* bytes, std::size_t count) const
{
    if (!latin1OutsideC1) {
        for (std::size_t i = 0; i < count; ++i)
            bytes[i] = encode(characters[i]);
        return;
    }
    // Narrow everything, then mend what is not Latin-1 outside 0x80..0x9F.
    unsigned other = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned c = characters[i];
        bytes[i] = static_cast<unsigned char>(c);
        other |= (c >> 8) | static_cast<unsigned>((c & 0xE0) == 0x80);
    }
    if (other == 0)
        return;
    for (std::size_t i = 0; i < count; ++i)
        if (characters[i] > 0xFF || (characters[i] & 0xE0) == 0x80)
            bytes[i] = encode(characters[i]);
}

std::u16string CodePage::fitted(std::u16string_view text) const
{
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i;
        result.push_back(canEncode(c) ? c : u'?');
    }
    return result;
}
