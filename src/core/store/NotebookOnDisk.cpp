#include "NotebookOnDisk.h"

#include "FileSystem.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// A look again sooner than this would only find the file as it was.
constexpr std::int64_t kShortestWaitMs = 100;

} // namespace

NotebookOnDisk::NotebookOnDisk(FileSystem& files, std::string path)
    : fileSystem(&files)
    , notebookPath(std::move(path))
{}

void NotebookOnDisk::read(const PageFile::ReadInfo& found, PageList pages, std::int64_t nowMs)
{
    kenne(found.stamp, nowMs);
    knownFacts = found.facts;
    knownPartBytes = found.partBytes;
    knownHash.reset();
    knownPages = std::move(pages);
    // An empty file is known by its hash at once: the blank page the
    // notebook then starts with is not in it.
    if (found.stamp.size == 0) {
        knownHash = PageFile::hashOf(PageList(), 0);
        knownPages = PageList();
    }
}

void NotebookOnDisk::written(const PageFile::Saved& saved, PageList pages, std::int64_t nowMs)
{
    kenne(saved.stamp, nowMs);
    knownFacts = saved.facts;
    knownPartBytes = 0;
    knownHash.reset();
    knownPages = std::move(pages);
    lastSaveMs = nowMs;
}

PageFile::Expected NotebookOnDisk::expected()
{
    return {knownStamp, bekannterHash(), knownFacts};
}

void NotebookOnDisk::hashKnownPages()
{
    bekannterHash();
}

std::optional<FileError> NotebookOnDisk::decide(bool ourChanges, std::int64_t nowMs, Answer& answer)
{
    answer = {};
    FileFacts facts;
    if (auto error = fileSystem->facts(notebookPath, facts))
        return error;
    // Nothing to write over: ours goes there, and a save never replaces a
    // file that comes meanwhile.
    if (!facts.exists) {
        changeSeenMs.reset();
        answer.step = Step::Restore;
        return std::nullopt;
    }
    if (facts.stamp == knownStamp) {
        if (PageFile::settled(knownStamp)) {
            bekannt(ourChanges, answer);
            return std::nullopt;
        }
        // Within the file system's time step only the bytes tell.
        FileVersion onDisk;
        if (auto error = PageFile::fingerprint(*fileSystem, notebookPath, onDisk))
            return error;
        if (onDisk.stamp == knownStamp && onDisk.hash == bekannterHash()) {
            bekannt(ourChanges, answer);
            return std::nullopt;
        }
    }
    return vergleiche(ourChanges, facts.stamp, nowMs, answer);
}

// The file changed: nothing is done with it until it has been quiet, and
// then the side that changed decides.
std::optional<FileError> NotebookOnDisk::vergleiche(bool ourChanges, const FileStamp& stamp,
                                                    std::int64_t nowMs, Answer& answer)
{
    if (!changeSeenMs)
        changeSeenMs = nowMs;
    if (!istRuhig(stamp, nowMs)) {
        warte(nowMs, answer);
        return std::nullopt;
    }
    PageList theirs;
    PageFile::ReadInfo found;
    if (auto error = PageFile::readExisting(*fileSystem, notebookPath, theirs, found))
        return error;
    if (!(found.stamp == stamp)) {
        istRuhig(found.stamp, nowMs);
        warte(nowMs, answer);
        return std::nullopt;
    }
    if (PageFile::hashOf(theirs, found.partBytes) == bekannterHash()) {
        knownStamp = found.stamp;
        bekannt(ourChanges, answer);
        return std::nullopt;
    }
    // A program that opens the file by name again after our save writes
    // into ours: that is a change on both sides.
    const bool afterOurSave = lastSaveMs && *changeSeenMs - *lastSaveMs < kQuietMs;
    changeSeenMs.reset();
    stillWritingTold = false;
    if (found.stamp.size == 0 && knownStamp.size != 0) {
        // An emptied notebook holds no one's notes; ours go back into it.
        answer.step = Step::Restore;
    } else if (ourChanges || afterOurSave) {
        answer.step = Step::KeepBoth;
    } else {
        answer.step = Step::Load;
        answer.theirs = std::move(theirs);
        answer.theirsFound = found;
    }
    return std::nullopt;
}

// Quiet: two looks at least kQuietMs apart saw the same identity, size and
// times.
bool NotebookOnDisk::istRuhig(const FileStamp& stamp, std::int64_t nowMs)
{
    if (!(stamp == lookedStamp)) {
        lookedStamp = stamp;
        lookedSinceMs = nowMs;
        return false;
    }
    return nowMs - lookedSinceMs >= kQuietMs;
}

void NotebookOnDisk::warte(std::int64_t nowMs, Answer& answer)
{
    answer.step = Step::Wait;
    answer.lookAgainMs = std::max(kShortestWaitMs, lookedSinceMs + kQuietMs - nowMs);
    if (!stillWritingTold && nowMs - *changeSeenMs >= kTooLongMs) {
        stillWritingTold = true;
        answer.tellStillWriting = true;
    }
}

void NotebookOnDisk::kenne(const FileStamp& stamp, std::int64_t nowMs)
{
    knownStamp = stamp;
    lookedStamp = stamp;
    lookedSinceMs = nowMs;
    changeSeenMs.reset();
    stillWritingTold = false;
}

void NotebookOnDisk::bekannt(bool ourChanges, Answer& answer)
{
    changeSeenMs.reset();
    stillWritingTold = false;
    answer.step = ourChanges ? Step::Save : Step::Nothing;
}

std::uint64_t NotebookOnDisk::bekannterHash()
{
    if (!knownHash) {
        knownHash = PageFile::hashOf(knownPages, knownPartBytes);
        knownPages = PageList();
    }
    return *knownHash;
}

bool NotebookOnDisk::writes(Step step)
{
    return step == Step::Save || step == Step::Restore || step == Step::KeepBoth;
}

std::int64_t NotebookOnDisk::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::optional<FileError> NotebookOnDisk::decideWaiting(bool ourChanges, std::int64_t waitMs, Answer& answer)
{
    const std::int64_t giveUp = nowMs() + waitMs;
    for (;;) {
        if (auto error = decide(ourChanges, nowMs(), answer))
            return error;
        if (answer.step != Step::Wait || nowMs() >= giveUp)
            return std::nullopt;
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min(answer.lookAgainMs, giveUp - nowMs())));
    }
}
