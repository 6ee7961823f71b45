#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Characters on a page, and bytes in one record of the page file.
inline constexpr std::size_t kSeitenLaenge = 2000;

// Page numbers are 16-bit signed, so a notebook holds at most this many pages.
inline constexpr std::int16_t kMaxSeiten = 32767;

// One page of the notebook. The field always holds all its characters; a page
// that was never written holds NUL characters.
struct Seite {
    std::array<char16_t, kSeitenLaenge> inhalt{};
};

// Pages are held by pointer so that inserting or deleting one moves pointers,
// not 4000-byte page texts.
using Seiten = std::vector<std::unique_ptr<Seite>>;
