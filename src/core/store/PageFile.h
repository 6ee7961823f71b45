#pragma once

#include "FileError.h"
#include "FileStamp.h"
#include "FileSystem.h"
#include "PageList.h"

#include <cstdint>
#include <optional>
#include <string>

// The notebook file as we last read or wrote it: its stamp and a hash of its
// bytes, which tells a copy of the same bytes from a real change.
struct FileVersion {
    FileStamp stamp;
    std::uint64_t hash = 0;
};

// The page file: a plain run of fixed-length records, one page each, in the
// code page's bytes. No header, no count, no checksum: a record starts at
// (page - 1) * kPageLength.
namespace PageFile {

inline constexpr const char* kName = "kel.kel";
inline constexpr const char* kTempName = "keltemp.kel";
inline constexpr std::size_t kRecordSize = kPageLength;

// How many pages a file of this length gives: a part record at the end is a
// page of its own, so that no byte is dropped.
std::uint64_t recordCount(std::uint64_t fileLength);
// The refusal of a file with more records than a notebook can hold, if it has.
std::optional<FileError> refuseIfTooLong(const std::string& path, std::uint64_t records);

// What reading found besides the pages.
struct ReadInfo {
    FileStamp stamp;
    // Its owner, group and mode, which a new notebook in its place takes.
    FileFacts facts;
    // Bytes of a last record that was not whole; it was filled with blanks.
    std::size_t partBytes = 0;
};

// Reads every record of the file at `path` into `pages`, straight into the
// memory the pages keep. A missing file is
// created empty where the folder allows it, and gives no pages. A file that
// is not a plain file, or holds more than kMaxPages records, is refused and
// `pages` is left alone.
[[nodiscard]] std::optional<FileError> read(const std::string& path, PageList& pages, ReadInfo& info);
[[nodiscard]] std::optional<FileError> read(const std::string& path, PageList& pages);
// The same with the files of `files`, and a missing file left missing: it
// gives no pages and a stamp that says so.
[[nodiscard]] std::optional<FileError> readExisting(FileSystem& files, const std::string& path,
                                                    PageList& pages, ReadInfo& info);

// The hash of the file `pages` were read from, as fingerprint gives it: the
// last record only its first `partBytes` bytes where it was a part. Taken
// from memory when it is first needed, it costs reading nothing.
std::uint64_t hashOf(const PageList& pages, std::size_t partBytes);

// Whether a write now would still change the stamp's times. File systems
// keep them as coarsely as in two-second steps (FAT), and a write within the
// same step leaves a stamp as it was: until then only the file's bytes tell
// whether it changed.
bool settled(const FileStamp& stamp);
// The stamp and the hash of the file's bytes, as read gives them.
[[nodiscard]] std::optional<FileError> fingerprint(FileSystem& files, const std::string& path,
                                                   FileVersion& result);

// The notebook a save expects to find in its place: the one last read or
// written. Whatever else it finds there is another program's, and is kept.
struct Expected {
    FileStamp stamp;
    std::uint64_t hash = 0;
    // The notebook's owner, group and mode as last read or written: a file
    // written after another program's change or a deletion takes them.
    FileFacts model;
};

// What a save did.
struct Saved {
    // Ours, as written.
    FileStamp stamp;
    FileFacts facts;
    // False where the notebook changed just before ours would have taken its
    // place on a file system that cannot swap files: nothing was written.
    bool written = false;
    // Where ours took the place of a file that another program had changed,
    // that file's new path.
    std::string asidePath;
};

// Writes `pages` to a new temporary file `tempName` beside the notebook, puts
// it on the disk and then swaps it with the file at `path` in one step, so
// that the notebook on disk is at every moment either the old one or the new
// one, whole, and never missing. The file that comes out is compared at once
// with `expected`: the same is deleted, another is renamed aside (see
// asideName), never left under the temporary name. Without `expected`
// whatever comes out is deleted. Where the file system cannot swap, the file
// is looked at once more right before ours is renamed over it.
// The replaced file's owner, group and mode are kept. A link is
// followed only where it belongs to us or to the owner of the file it leads
// to; a read-only notebook or one that is not a plain file is refused. On
// failure `path` is untouched and no temporary file remains.
[[nodiscard]] std::optional<FileError> write(FileSystem& files, const std::string& path,
                                             const std::string& tempName, const PageList& pages,
                                             const Expected* expected, Saved& saved);
[[nodiscard]] std::optional<FileError> write(const std::string& path, const std::string& tempName,
                                             const PageList& pages);

// Writes `pages` to a file at `path` that must not exist yet, and puts it on
// the disk; nothing is written over. On failure no file remains.
[[nodiscard]] std::optional<FileError> writeNew(FileSystem& files, const std::string& path,
                                                const PageList& pages);

// Local time `when` (seconds since 1970) as file names carry it:
// "YYYY-MM-DD HH-MM-SS", with no ':' that Windows would refuse.
std::string timeInName(std::int64_t when);
// The name a file that another program changed gets beside `fileName`'s, at local time `when`; from the
// second attempt on, a number makes it unique.
std::string asideName(const std::string& fileName, std::int64_t when, int attempt);

} // namespace PageFile
