#pragma once

#include "FileError.h"

#include <optional>
#include <string>

// Where a file of ours really is, and whether we may write there. Both files
// of a notebook can be links, and a folder can be shared with others: a link
// someone else planted must not lead our writes to a file of theirs.
namespace FilePlace {

// The file a write to `path` lands on, after every link. Each link of the
// chain is followed only where it belongs to the user running the program or
// to the owner of the file at its end; otherwise the write is refused.
[[nodiscard]] std::optional<FileError> writeTarget(const std::string& path, std::string& target);

// Refuses a folder, pipe, socket or device in the place of a file, without
// opening it (opening a pipe would wait for a writer). Nothing there is fine.
[[nodiscard]] std::optional<FileError> refuseUnlessPlain(const std::string& path);

// Refuses a file the user may not write (a read-only file), as the save of a
// program on Windows is refused. Nothing there is fine.
[[nodiscard]] std::optional<FileError> refuseIfReadOnly(const std::string& path);

// The folder part of a path ("" for none) and a name inside a folder.
std::string folderOf(const std::string& path);
std::string inFolder(const std::string& folder, const std::string& name);

} // namespace FilePlace
