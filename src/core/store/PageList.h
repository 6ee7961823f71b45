#pragma once

#include "Seite.h"

#include <cstddef>
#include <memory>
#include <vector>

// Gives back the memory of a block of pages.
struct BlockRelease {
    std::size_t count = 0;
    void operator()(Seite* block) const noexcept;
};

// Deletes a page unless it lives in a block.
struct PageRelease {
    bool inBlock = false;
    void operator()(Seite* page) const noexcept
    {
        if (!inBlock)
            delete page;
    }
};

// The pages in order. They are reached through pointers, so inserting or
// deleting one moves pointers, not 2000-byte records; the pages read from a
// file share one block of memory, taken in one piece, in which they lie as
// the file's records do.
class PageList {
public:
    // `count` pages in one block, their texts not yet set.
    static PageList inBlock(std::size_t count);
    // The block's pages as one run of bytes, record after record, while no
    // page was inserted or removed.
    char* blockBytes() { return block_ ? block_->inhalt.data() : nullptr; }

    std::size_t size() const { return list_.size(); }
    bool empty() const { return list_.empty(); }
    Seite& operator[](std::size_t i) { return *list_[i]; }
    const Seite& operator[](std::size_t i) const { return *list_[i]; }

    void insert(std::size_t before, std::unique_ptr<Seite> page);
    // A page of the block keeps its memory until the block goes.
    void remove(std::size_t index);

private:
    std::unique_ptr<Seite, BlockRelease> block_;
    std::vector<std::unique_ptr<Seite, PageRelease>> list_;
};
