#pragma once

#include "FileError.h"
#include "Seiten.h"

#include <cstdint>
#include <optional>
#include <string>

class CodePage;

// The page file: a plain run of fixed-length records, one page each, in the
// code page's bytes. No header, no count, no checksum: a record starts at
// (page - 1) * kSeitenLaenge, and bytes after the last whole record are ignored.
namespace PageFile {

inline constexpr const char* kName = "kel.kel";
inline constexpr const char* kTempName = "keltemp.kel";
inline constexpr std::size_t kRecordSize = kSeitenLaenge;

// How many whole records a file of this length holds.
std::uint64_t recordCount(std::uint64_t fileLength);
// The refusal of a file with more records than a notebook can hold, if it has.
std::optional<FileError> refuseIfTooLong(const std::string& path, std::uint64_t records);

void decodeRecord(const char* record, Seite& page, const CodePage& codePage);
void encodeRecord(const Seite& page, char* record, const CodePage& codePage);

// Reads every whole record of the file at `path` into `pages`. A missing file
// is created empty where the folder allows it, and gives no pages. A file of
// more than kMaxSeiten records is refused and `pages` is left alone.
[[nodiscard]] std::optional<FileError> read(const std::string& path, const CodePage& codePage, Seiten& pages);

// Writes `pages` to a new temporary file `tempName` beside the notebook, puts
// it on the disk and then renames it over `path` in one step, so that the
// notebook on disk is at every moment either the old one or the new one,
// whole. If `path` is a symbolic link, the file it points to is replaced and
// the link kept. On failure `path` is untouched and no temporary file remains.
[[nodiscard]] std::optional<FileError> write(const std::string& path, const std::string& tempName,
                                             const Seiten& pages, const CodePage& codePage);

} // namespace PageFile
