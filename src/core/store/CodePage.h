#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

// A single-byte code page: every byte is one character, and every character
// the code page holds is one byte.
class CodePage {
public:
    // Windows-1252, with its five undefined bytes mapped to the C1 control
    // characters of the same value so that every byte reads back unchanged.
    static const CodePage& windows1252();

    // The code page the page file is kept in on this platform.
    static const CodePage& system();
    // Its name as people know it: "Windows-1252", or on Windows the
    // system's ANSI code page ("Windows-1251", ...).
    static std::string systemName();

    explicit CodePage(const std::array<char16_t, 256>& toUnicode);

    char16_t decode(unsigned char byte) const { return toUnicodeTable[byte]; }
    // Decodes `count` bytes at once; the notebook's whole file goes through here.
    void decode(const unsigned char* bytes, char16_t* characters, std::size_t count) const;
    bool canEncode(char16_t c) const { return encodable[c]; }
    // A character the code page cannot hold becomes '?'.
    unsigned char encode(char16_t c) const { return encodable[c] ? fromUnicode[c] : '?'; }
    void encode(const char16_t* characters, unsigned char* bytes, std::size_t count) const;

    // Replaces every character the code page cannot hold with '?'; a
    // surrogate pair is one character and becomes one '?'.
    std::u16string fitted(std::u16string_view text) const;

private:
    std::array<char16_t, 256> toUnicodeTable;
    // Whether every byte outside 0x80..0x9F stands for the character of the
    // same number, as in Windows-1252; decoding is then mostly a widening.
    bool latin1OutsideC1 = false;
    std::array<unsigned char, 65536> fromUnicode{};
    std::bitset<65536> encodable;
};
