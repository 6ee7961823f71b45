#include "PageList.h"

#include "PageMemory.h"

#include <new>

namespace {

// Gives back the memory of a block of pages.
struct BlockRelease {
    std::size_t count = 0;
    void operator()(Seite* block) const noexcept { PageMemory::giveBack(block, count * sizeof(Seite)); }
};

Seite* takeBlock(std::size_t count)
{
    auto* pages = static_cast<Seite*>(PageMemory::take(count * sizeof(Seite)));
    for (std::size_t i = 0; i < count; ++i)
        new (&pages[i]) Seite;
    return pages;
}

} // namespace

PageList PageList::inBlock(std::size_t count)
{
    PageList pages;
    if (count == 0)
        return pages;
    pages.pageBlock = std::shared_ptr<Seite>(takeBlock(count), BlockRelease{count});
    pages.entries.reserve(count);
    // Each page shares the block's ownership: the block goes with its last page.
    for (std::size_t i = 0; i < count; ++i)
        pages.entries.push_back({std::shared_ptr<Seite>(pages.pageBlock, pages.pageBlock.get() + i), 0});
    return pages;
}

PageList PageList::snapshot() const
{
    PageList copy;
    copy.entries = entries;
    // A snapshot of a snapshot is held for the same list.
    if (heldFor) {
        copy.heldFor = heldFor;
        return copy;
    }
    ++currentGeneration;
    auto alive = snapshotsAlive.lock();
    if (!alive) {
        alive = std::make_shared<char>();
        snapshotsAlive = alive;
    }
    copy.heldFor = std::move(alive);
    return copy;
}

Seite& PageList::writable(std::size_t i)
{
    Slot& slot = entries[i];
    if (slot.ownIn < currentGeneration && !snapshotsAlive.expired())
        slot.page = std::make_shared<Seite>(*slot.page);
    slot.ownIn = currentGeneration;
    return *slot.page;
}

void PageList::insert(std::size_t before, std::unique_ptr<Seite> page)
{
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(before),
                   {std::shared_ptr<Seite>(std::move(page)), currentGeneration});
}

void PageList::remove(std::size_t index)
{
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
}
