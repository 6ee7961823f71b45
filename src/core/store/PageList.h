#pragma once

#include "Seite.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The pages in order. They are reached through pointers, so inserting or
// deleting one moves pointers, not 2000-byte records; the pages read from a
// file share one block of memory, taken in one piece, in which they lie as
// the file's records do.
//
// A snapshot shares the pages instead of copying them, so that a save on
// another thread can write the notebook as it was while typing goes on: a
// page is copied only when it is changed while a snapshot holds it.
class PageList {
public:
    PageList() = default;
    PageList(PageList&&) noexcept = default;
    PageList& operator=(PageList&&) noexcept = default;

    // `count` pages in one block, their texts not yet set.
    static PageList inBlock(std::size_t count);
    // The block's pages as one run of bytes, record after record, while no
    // page was inserted or removed.
    char* blockBytes() { return pageBlock ? pageBlock->inhalt.data() : nullptr; }

    // The pages as they are now, for reading only; cheap to take and safe
    // to read on another thread while this list changes.
    PageList snapshot() const;

    std::size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }
    const Seite& operator[](std::size_t i) const { return *entries[i].page; }
    // Page `i`, to be changed: first copied where a snapshot shares it.
    Seite& writable(std::size_t i);

    void insert(std::size_t before, std::unique_ptr<Seite> page);
    // A page of the block keeps its memory until the block goes.
    void remove(std::size_t index);

private:
    struct Slot {
        std::shared_ptr<Seite> page;
        // The snapshot generation in which the page was last made this
        // list's own.
        std::uint64_t ownIn = 0;
    };

    std::shared_ptr<Seite> pageBlock;
    std::vector<Slot> entries;
    mutable std::uint64_t currentGeneration = 0;
    // Alive while any snapshot of this list is; a snapshot holds it.
    mutable std::weak_ptr<const void> snapshotsAlive;
    std::shared_ptr<const void> heldFor;
};
