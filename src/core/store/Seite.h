#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Characters on a page, and bytes in one record of the page file.
inline constexpr std::size_t kPageLength = 2000;

// Page numbers are 16-bit signed, so a notebook holds at most this many pages.
inline constexpr std::int16_t kMaxPages = 32767;

// One page of the notebook. The field always holds all its characters; a page
// made with Seite{} holds NUL characters, as a slot that was never written.
struct Seite {
    std::array<char16_t, kPageLength> inhalt;
};
