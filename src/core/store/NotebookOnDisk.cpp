#include "NotebookOnDisk.h"

#include "FileSystem.h"

#include <algorithm>

namespace {

// A look again sooner than this would only find the file as it was.
constexpr std::int64_t kShortestWaitMs = 100;

} // namespace

NotebookOnDisk::NotebookOnDisk(FileSystem& files, std::string path)
    : files_(&files)
    , path_(std::move(path))
{}

void NotebookOnDisk::read(const PageFile::ReadInfo& found, PageList pages, std::int64_t nowMs)
{
    kenne(found.stamp, nowMs);
    knownFacts_ = found.facts;
    knownPartBytes_ = found.partBytes;
    knownHash_.reset();
    knownPages_ = std::move(pages);
    // An empty file is known by its hash at once: the blank page the
    // notebook then starts with is not in it.
    if (found.stamp.size == 0) {
        knownHash_ = PageFile::hashOf(PageList(), 0);
        knownPages_ = PageList();
    }
}

void NotebookOnDisk::written(const PageFile::Saved& saved, PageList pages, std::int64_t nowMs)
{
    kenne(saved.stamp, nowMs);
    knownFacts_ = saved.facts;
    knownPartBytes_ = 0;
    knownHash_.reset();
    knownPages_ = std::move(pages);
    lastSaveMs_ = nowMs;
}

PageFile::Expected NotebookOnDisk::expected()
{
    return {known_, bekannterHash(), knownFacts_};
}

void NotebookOnDisk::hashKnownPages()
{
    bekannterHash();
}

std::optional<FileError> NotebookOnDisk::decide(bool ourChanges, std::int64_t nowMs, Answer& answer)
{
    answer = {};
    FileFacts facts;
    if (auto error = files_->facts(path_, facts))
        return error;
    // Nothing to write over: ours goes there, and a save never replaces a
    // file that comes meanwhile.
    if (!facts.exists) {
        changeSeenMs_.reset();
        answer.step = Step::Restore;
        return std::nullopt;
    }
    if (facts.stamp == known_) {
        if (PageFile::settled(known_)) {
            bekannt(ourChanges, answer);
            return std::nullopt;
        }
        // Within the file system's time step only the bytes tell.
        FileVersion onDisk;
        if (auto error = PageFile::fingerprint(*files_, path_, onDisk))
            return error;
        if (onDisk.stamp == known_ && onDisk.hash == bekannterHash()) {
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
    if (!changeSeenMs_)
        changeSeenMs_ = nowMs;
    if (!istRuhig(stamp, nowMs)) {
        warte(nowMs, answer);
        return std::nullopt;
    }
    PageList theirs;
    PageFile::ReadInfo found;
    if (auto error = PageFile::readExisting(*files_, path_, theirs, found))
        return error;
    if (!(found.stamp == stamp)) {
        istRuhig(found.stamp, nowMs);
        warte(nowMs, answer);
        return std::nullopt;
    }
    if (PageFile::hashOf(theirs, found.partBytes) == bekannterHash()) {
        known_ = found.stamp;
        bekannt(ourChanges, answer);
        return std::nullopt;
    }
    // A program that opens the file by name again after our save writes
    // into ours: that is a change on both sides.
    const bool afterOurSave = lastSaveMs_ && *changeSeenMs_ - *lastSaveMs_ < kQuietMs;
    changeSeenMs_.reset();
    stillWritingTold_ = false;
    if (found.stamp.size == 0 && known_.size != 0) {
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
    if (!(stamp == looked_)) {
        looked_ = stamp;
        lookedSinceMs_ = nowMs;
        return false;
    }
    return nowMs - lookedSinceMs_ >= kQuietMs;
}

void NotebookOnDisk::warte(std::int64_t nowMs, Answer& answer)
{
    answer.step = Step::Wait;
    answer.lookAgainMs = std::max(kShortestWaitMs, lookedSinceMs_ + kQuietMs - nowMs);
    if (!stillWritingTold_ && nowMs - *changeSeenMs_ >= kTooLongMs) {
        stillWritingTold_ = true;
        answer.tellStillWriting = true;
    }
}

void NotebookOnDisk::kenne(const FileStamp& stamp, std::int64_t nowMs)
{
    known_ = stamp;
    looked_ = stamp;
    lookedSinceMs_ = nowMs;
    changeSeenMs_.reset();
    stillWritingTold_ = false;
}

void NotebookOnDisk::bekannt(bool ourChanges, Answer& answer)
{
    changeSeenMs_.reset();
    stillWritingTold_ = false;
    answer.step = ourChanges ? Step::Save : Step::Nothing;
}

std::uint64_t NotebookOnDisk::bekannterHash()
{
    if (!knownHash_) {
        knownHash_ = PageFile::hashOf(knownPages_, knownPartBytes_);
        knownPages_ = PageList();
    }
    return *knownHash_;
}
