#include "NotebookPlacing.h"

#include "FileSystem.h"

#include <ctime>

namespace PageFile {

std::optional<FileError> NotebookPlacing::run(bool& placed)
{
    placed = false;
    FileFacts there;
    if (auto looking = fileSystem.facts(targetName, there))
        return looking;
    if (!there.exists) {
        bool taken = false;
        auto error = fileSystem.renameToNew(temporaryName, targetName, taken);
        if (!error) {
            placed = true;
            return std::nullopt;
        }
        if (!taken)
            return error;
        // Another program made one in the meantime: it is swapped out below.
        if (auto again = fileSystem.facts(targetName, there))
            return again;
    }
    stampBefore = there.stamp;
    bool unsupported = false;
    auto error = fileSystem.exchange(temporaryName, targetName, unsupported);
    if (!error) {
        wasSwapped = placed = true;
        return std::nullopt;
    }
    if (!unsupported)
        return error;
    // No swap here: the last look is right before the rename, and what
    // changed since the last read is left for the caller to decide on.
    if (auto looking = fileSystem.facts(targetName, there))
        return looking;
    stampBefore = there.stamp;
    if (there.exists && !istErwartet(targetName, stampBefore))
        return std::nullopt;
    if (auto renaming = fileSystem.replace(temporaryName, targetName))
        return renaming;
    placed = true;
    return std::nullopt;
}

FileStamp NotebookPlacing::placedStamp(const FileStamp& written)
{
    FileFacts there;
    if (fileSystem.facts(targetName, there) || !there.exists)
        return written;
    const FileStamp& now = there.stamp;
    const bool ours = now.device == written.device && now.inode == written.inode &&
                      now.size == written.size && now.modifiedNs == written.modifiedNs;
    return ours ? now : written;
}

// A file is what the save expected where it is the same file, untouched, or
// holds the same bytes. A swap sets the file's change time, so the file that
// came out is known by its identity, size and modification time.
bool NotebookPlacing::istErwartet(const std::string& path, const FileStamp& stamp)
{
    if (!expectation)
        return true;
    const FileStamp& known = expectation->stamp;
    const bool untouched = stamp.device == known.device && stamp.inode == known.inode &&
                           stamp.size == known.size && stamp.modifiedNs == known.modifiedNs &&
                           stampBefore == known && settled(known);
    if (untouched)
        return true;
    FileVersion found;
    return !fingerprint(fileSystem, path, found) && found.hash == expectation->hash;
}

std::optional<FileError> NotebookPlacing::keepDisplaced(std::string& asidePath)
{
    if (!wasSwapped)
        return std::nullopt;
    FileFacts out;
    if (auto error = fileSystem.facts(temporaryName, out))
        return error;
    if (!out.exists)
        return std::nullopt;
    if (out.stamp.size != 0 && !istErwartet(temporaryName, out.stamp))
        return stelleBeiseite(asidePath);
    // A copy of what we had, or nothing: no one's notes are in it. Should it
    // stay, the next save removes it.
    (void)fileSystem.remove(temporaryName);
    return std::nullopt;
}

std::optional<FileError> NotebookPlacing::stelleBeiseite(std::string& asidePath)
{
    const std::string folder = FileSystem::folderOf(targetName);
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string aside =
            FileSystem::inFolder(folder, asideName(FileSystem::nameOf(targetName), now, attempt));
        bool taken = false;
        auto error = fileSystem.renameToNew(temporaryName, aside, taken);
        if (!error) {
            asidePath = aside;
            return std::nullopt;
        }
        if (!taken)
            return error;
    }
    return FileError{temporaryName, "no free name to keep another program's notebook under"};
}

} // namespace PageFile
