#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Characters on a page, and bytes in one record of the page file.
inline constexpr std::size_t kPageLength = 2000;

// Page numbers are 16-bit signed, so a notebook holds at most this many pages.
inline constexpr std::int16_t kMaxPages = 32767;

// One page of the notebook, kept as its record in the page file holds it:
// one byte per character in the notebook's code page, converted only where
// its text is shown, searched or printed. A page made with Seite{} holds NUL
// bytes, as a slot that was never written.
struct Seite {
    std::array<char, kPageLength> inhalt;
};
static_assert(sizeof(Seite) == kPageLength, "pages in a block lie as the records of the file do");
