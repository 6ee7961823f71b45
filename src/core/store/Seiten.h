#pragma once

#include "Seite.h"

#include <cstddef>
#include <memory>
#include <vector>

// Gives back the memory of a block of pages.
struct BlockFreigabe {
    std::size_t anzahl = 0;
    void operator()(Seite* block) const noexcept;
};

// Deletes a page unless it lives in a block.
struct SeitenFreigabe {
    bool imBlock = false;
    void operator()(Seite* seite) const noexcept
    {
        if (!imBlock)
            delete seite;
    }
};

// The pages in order. They are reached through pointers, so inserting or
// deleting one moves pointers, not 4000-byte page texts; the pages read from
// a file share one block of memory, taken in one piece.
class Seiten {
public:
    // `count` pages in one block, their texts not yet set.
    static Seiten imBlock(std::size_t count);

    std::size_t size() const { return liste_.size(); }
    bool empty() const { return liste_.empty(); }
    Seite& operator[](std::size_t i) { return *liste_[i]; }
    const Seite& operator[](std::size_t i) const { return *liste_[i]; }

    void einfuegen(std::size_t vor, std::unique_ptr<Seite> seite);
    // A page of the block keeps its memory until the block goes.
    void entfernen(std::size_t stelle);

private:
    std::unique_ptr<Seite, BlockFreigabe> block_;
    std::vector<std::unique_ptr<Seite, SeitenFreigabe>> liste_;
};
