#include "PageMemory.h"

#include <new>
#include <sys/mman.h>

void* PageMemory::take(std::size_t bytes)
{
    void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    ::madvise(memory, bytes, MADV_HUGEPAGE);
    return memory;
}

void PageMemory::giveBack(void* memory, std::size_t bytes) noexcept
{
    ::munmap(memory, bytes);
}
