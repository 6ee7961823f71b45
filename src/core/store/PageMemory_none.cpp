#include "PageMemory.h"

#include <new>

// Where the system offers no huge pages to ask for, the heap does.

void* PageMemory::take(std::size_t bytes)
{
    return ::operator new(bytes);
}

void PageMemory::giveBack(void* memory, std::size_t) noexcept
{
    ::operator delete(memory);
}
