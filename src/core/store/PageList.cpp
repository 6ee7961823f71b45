#include "PageList.h"

#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// A whole notebook is up to 65 MB of pages. Taken from the system in one
// piece, and on Linux in huge pages, it costs a few dozen page faults
// instead of tens of thousands.
Seite* holeBlock(std::size_t count)
{
    const std::size_t bytes = count * sizeof(Seite);
#ifdef __linux__
    void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    ::madvise(memory, bytes, MADV_HUGEPAGE);
#else
    void* memory = ::operator new(bytes);
#endif
    auto* pages = static_cast<Seite*>(memory);
    for (std::size_t i = 0; i < count; ++i)
        new (&pages[i]) Seite;
    return pages;
}

} // namespace

void BlockRelease::operator()(Seite* block) const noexcept
{
#ifdef __linux__
    ::munmap(block, count * sizeof(Seite));
#else
    ::operator delete(block);
#endif
}

PageList PageList::inBlock(std::size_t count)
{
    PageList pages;
    if (count == 0)
        return pages;
    pages.block_ = std::unique_ptr<Seite, BlockRelease>(holeBlock(count), BlockRelease{count});
    pages.list_.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        pages.list_.emplace_back(pages.block_.get() + i, PageRelease{true});
    return pages;
}

void PageList::insert(std::size_t before, std::unique_ptr<Seite> page)
{
    list_.emplace(list_.begin() + static_cast<std::ptrdiff_t>(before), page.release(), PageRelease{false});
}

void PageList::remove(std::size_t index)
{
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(index));
}
