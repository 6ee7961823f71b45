#pragma once

#include "FileError.h"
#include "FileStamp.h"
#include "PageFile.h"

#include <optional>
#include <string>
#include <utility>

class FileSystem;

namespace PageFile {

// Puts a written temporary file in the notebook's place without ever
// replacing a file that was not looked at: a swap hands back what was there,
// which is then compared with what the save expected.
class NotebookPlacing {
public:
    NotebookPlacing(FileSystem& files, std::string target, std::string temp, const Expected* expected)
        : fileSystem(files)
        , targetName(std::move(target))
        , temporaryName(std::move(temp))
        , expectation(expected)
    {}

    // `placed` is false where the notebook changed just before the rename on
    // a file system that cannot swap; then nothing moved.
    std::optional<FileError> run(bool& placed);
    // Ours as it stands in the notebook's place: a rename sets a file's
    // change time. Where another file is there already, the stamp written
    // stays, so that the next look sees the change.
    FileStamp placedStamp(const FileStamp& written);
    // What the swap handed back: deleted where it is the file expected or
    // empty, otherwise renamed aside, its path in `asidePath`.
    std::optional<FileError> keepDisplaced(std::string& asidePath);

private:
    bool istErwartet(const std::string& path, const FileStamp& stamp);
    std::optional<FileError> stelleBeiseite(std::string& asidePath);

    FileSystem& fileSystem;
    std::string targetName;
    std::string temporaryName;
    const Expected* expectation;
    FileStamp stampBefore;
    bool wasSwapped = false;
};

} // namespace PageFile
