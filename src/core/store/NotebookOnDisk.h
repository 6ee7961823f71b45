#pragma once

#include "FileError.h"
#include "PageFile.h"
#include "PageList.h"

#include <cstdint>
#include <optional>
#include <string>

class FileSystem;

// The notebook file as this program last read or wrote it, and the one rule
// for what to do when another program (a file sync, an editor, a second
// computer on a shared folder) changed it: take theirs, keep both, or leave
// the file alone until they have finished writing it. It decides and reads;
// the caller carries out the answer. Times are milliseconds of a monotonic
// clock, handed in, since file times differ between machines.
class NotebookOnDisk {
public:
    // How long a changed file must look the same before it counts as written.
    static constexpr std::int64_t kQuietMs = 2000;
    // How long another program may go on writing before the user is told.
    static constexpr std::int64_t kTooLongMs = 30000;

    enum class Step {
        // The file is the one we know, and we have nothing to save.
        Nothing,
        // The file is the one we know, and ours changed: write ours.
        Save,
        // The file is missing or was emptied: write ours, changed or not.
        Restore,
        // Another program changed it and we did not: take `theirs`.
        Load,
        // Both sides changed: write ours; the save keeps theirs aside.
        KeepBoth,
        // Another program is still writing it: look again in `lookAgainMs`.
        Wait,
    };
    struct Answer {
        Step step = Step::Nothing;
        std::int64_t lookAgainMs = 0;
        // Once, where a file has not been quiet for kTooLongMs.
        bool tellStillWriting = false;
        PageList theirs;
        PageFile::ReadInfo theirsFound;
    };

    NotebookOnDisk(FileSystem& files, std::string path);

    // The pages now are what the file holds.
    void read(const PageFile::ReadInfo& found, std::int64_t nowMs);
    void written(const PageFile::Saved& saved, std::int64_t nowMs);
    // Before the pages first change after a read or a write: they still are
    // the file's bytes, which later tell a copy from a change.
    void remember(const PageList& pages);
    // What a save is to find in the file's place.
    PageFile::Expected expected(const PageList& pages);

    // Looks at the file. `pages` are ours, as they are now.
    [[nodiscard]] std::optional<FileError> decide(const PageList& pages, bool ourChanges, std::int64_t nowMs,
                                                  Answer& answer);

    const std::string& path() const { return path_; }

private:
    bool istRuhig(const FileStamp& stamp, std::int64_t nowMs);
    void warte(std::int64_t nowMs, Answer& answer);
    std::optional<FileError> vergleiche(const PageList& pages, bool ourChanges, const FileStamp& stamp,
                                        std::int64_t nowMs, Answer& answer);
    void kenne(const FileStamp& stamp, std::int64_t nowMs);
    void bekannt(bool ourChanges, Answer& answer);
    std::uint64_t bekannterHash(const PageList& pages);

    FileSystem& files_;
    std::string path_;
    FileStamp known_;
    std::size_t knownPartBytes_ = 0;
    std::optional<std::uint64_t> knownHash_;
    // The stamp of the last look, and since when it has looked so.
    FileStamp looked_;
    std::int64_t lookedSinceMs_ = 0;
    // Since when a change has been waited on, and whether that was told.
    std::optional<std::int64_t> changeSeenMs_;
    bool stillWritingTold_ = false;
    std::optional<std::int64_t> lastSaveMs_;
};
