#pragma once

#include <cstdint>

// Which file a path leads to and how it looks, so that a change made by
// another program is seen: a replacement gets a new identity, an edit in
// place a new size or modification time, and its change time, which no
// program can set back as it can the modification time. Times are in
// nanoseconds since 1970.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};
