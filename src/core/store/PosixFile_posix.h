#pragma once

// What the POSIX file system shares with its opened files.
#include "FileSystem.h"

#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

namespace PosixFiles {

FileError systemError(const std::string& file, int error);
// The umask the program started with.
mode_t usualMask();
FileFacts factsOf(const struct stat& info);
// A file opened as `fd`, which it closes.
std::unique_ptr<OpenedFile> open(int fd, std::string path);

} // namespace PosixFiles
