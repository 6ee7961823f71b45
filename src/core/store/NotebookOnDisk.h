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

    // Whether the step writes our pages.
    static bool writes(Step step);
    // The monotonic clock, in milliseconds, for callers that hand in times.
    static std::int64_t nowMs();

    NotebookOnDisk(FileSystem& files, std::string path);
    // The file is now reached through `files` (its folder opened anew).
    void moveTo(FileSystem& files) { fileSystem = &files; }
    FileSystem& files() const { return *fileSystem; }

    // The file now holds `pages` (a snapshot), which later tell a copy of
    // its bytes from a change.
    void read(const PageFile::ReadInfo& found, PageList pages, std::int64_t nowMs);
    void written(const PageFile::Saved& saved, PageList pages, std::int64_t nowMs);
    // What a save is to find in the file's place.
    PageFile::Expected expected();
    // Hashes the known pages now and lets them go, so that they are no
    // longer copied when they change.
    void hashKnownPages();

    // Looks at the file.
    [[nodiscard]] std::optional<FileError> decide(bool ourChanges, std::int64_t nowMs, Answer& answer);
    // Looks at the file, waiting up to `waitMs` on the real clock for
    // another program to finish writing it: for the end, which has no later
    // look. The answer is Wait where it did not finish.
    [[nodiscard]] std::optional<FileError> decideWaiting(bool ourChanges, std::int64_t waitMs,
                                                         Answer& answer);

    const std::string& path() const { return notebookPath; }

private:
    bool istRuhig(const FileStamp& stamp, std::int64_t nowMs);
    void warte(std::int64_t nowMs, Answer& answer);
    std::optional<FileError> vergleiche(bool ourChanges, const FileStamp& stamp, std::int64_t nowMs,
                                        Answer& answer);
    void kenne(const FileStamp& stamp, std::int64_t nowMs);
    void bekannt(bool ourChanges, Answer& answer);
    std::uint64_t bekannterHash();

    FileSystem* fileSystem;
    std::string notebookPath;
    FileStamp knownStamp;
    FileFacts knownFacts;
    std::size_t knownPartBytes = 0;
    PageList knownPages;
    std::optional<std::uint64_t> knownHash;
    // The stamp of the last look, and since when it has looked so.
    FileStamp lookedStamp;
    std::int64_t lookedSinceMs = 0;
    // Since when a change has been waited on, and whether that was told.
    std::optional<std::int64_t> changeSeenMs;
    bool stillWritingTold = false;
    std::optional<std::int64_t> lastSaveMs;
};
