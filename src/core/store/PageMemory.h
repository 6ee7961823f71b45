#pragma once

#include <cstddef>

// The memory for a whole notebook's pages at once. A notebook is up to
// 32767 pages of 2000 bytes; taken from the system in one piece, and where
// the system offers them in huge pages, it costs a handful of page faults
// instead of one for every few pages.
namespace PageMemory {

// Throws std::bad_alloc where there is not enough.
void* take(std::size_t bytes);
void giveBack(void* memory, std::size_t bytes) noexcept;

} // namespace PageMemory
