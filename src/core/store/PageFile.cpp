#include "PageFile.h"

#include "core/common/Platform.h"

#include "ContentHash.h"
#include "FileSystem.h"
#include "NotebookPlacing.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include <cstring>
#include <ctime>

namespace PageFile {
namespace {

// Records moved per call: large enough to keep calls few, small enough to
// stay in the cache while they are converted.
constexpr std::size_t kRecordsPerChunk = 512;
constexpr std::size_t kChunkBytes = kRecordsPerChunk * kRecordSize;

// Opens a plain file for reading; anything else is refused before it is opened.
std::optional<FileError> openPlain(FileSystem& files, const std::string& path,
                                   std::unique_ptr<OpenedFile>& file, FileFacts& facts)
{
    if (auto refusal = files.refuseUnlessPlain(path))
        return refusal;
    if (auto error = files.openForReading(path, file))
        return error;
    facts = file->facts();
    return std::nullopt;
}

// Reads `size` bytes into `data` in pieces.
std::optional<FileError> readInPieces(OpenedFile& file, char* data, std::uint64_t size)
{
    for (std::uint64_t offset = 0; offset < size; offset += kChunkBytes) {
        const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, size - offset));
        if (auto error = file.read(data + offset, bytes))
            return error;
    }
    return std::nullopt;
}

std::optional<FileError> writeRecords(OpenedFile& file, const PageList& pages)
{
    std::vector<char> chunk(std::min(pages.size(), kRecordsPerChunk) * kRecordSize);
    for (std::size_t first = 0; first < pages.size(); first += kRecordsPerChunk) {
        const std::size_t count = std::min(kRecordsPerChunk, pages.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            std::memcpy(chunk.data() + i * kRecordSize, pages[first + i].inhalt.data(), kRecordSize);
        if (auto error = file.write(chunk.data(), count * kRecordSize))
            return error;
    }
    return std::nullopt;
}

// Where a save may go: never through someone else's link, never over a
// read-only notebook or over something that is not a plain file.
std::optional<FileError> saveTarget(FileSystem& files, const std::string& path, std::string& target,
                                    FileFacts& existing)
{
    if (auto refusal = files.writeTarget(path, target))
        return refusal;
    if (auto error = files.facts(target, existing))
        return error;
    if (existing.exists && !existing.regular)
        return files.refuseUnlessPlain(target);
    if (existing.readOnly)
        return FileError{target, "it is read-only"};
    return std::nullopt;
}

// Whose and how readable ours is to be: the notebook's as we knew it, where
// another program replaced or deleted it meanwhile, and never readable by
// more than the file it replaces.
FileFacts modelFor(const FileFacts& existing, const Expected* expected)
{
    if (!expected || !expected->model.exists)
        return existing;
    if (!existing.exists)
        return expected->model;
    if (existing.stamp == expected->stamp)
        return existing;
    FileFacts narrowest = expected->model;
    narrowest.mode &= existing.mode;
    return narrowest;
}

} // namespace

std::uint64_t recordCount(std::uint64_t fileLength)
{
    return (fileLength + kRecordSize - 1) / kRecordSize;
}

std::optional<FileError> refuseIfTooLong(const std::string& path, std::uint64_t records)
{
    if (records <= static_cast<std::uint64_t>(kMaxPages))
        return std::nullopt;
    return FileError{path, "it holds " + std::to_string(records) + " pages, more than the " +
                               std::to_string(kMaxPages) + " Kelmo-Note can keep"};
}

std::string timeInName(std::int64_t when)
{
    const std::time_t time = static_cast<std::time_t>(when);
    const std::tm local = Platform::localTime(time);
    // No ':' in the time: Windows and many shared folders refuse it in names.
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
    return stamp;
}

std::string asideName(const std::string& fileName, std::int64_t when, int attempt)
{
    const auto dot = fileName.find_last_of('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
    std::string name = stem;
    name.append(" (changed elsewhere ").append(timeInName(when));
    if (attempt > 1)
        name.append(" ").append(std::to_string(attempt));
    return name.append(").kel");
}

std::optional<FileError> readExisting(FileSystem& files, const std::string& path, PageList& pages,
                                      ReadInfo& info)
{
    FileFacts found;
    if (auto error = files.facts(path, found))
        return error;
    if (!found.exists) {
        pages = PageList();
        info = {};
        return std::nullopt;
    }
    std::unique_ptr<OpenedFile> file;
    if (auto error = openPlain(files, path, file, found))
        return error;
    const std::uint64_t size = found.stamp.size;
    const std::uint64_t count = recordCount(size);
    if (auto refusal = refuseIfTooLong(path, count))
        return refusal;

    PageList loaded = PageList::inBlock(static_cast<std::size_t>(count));
    char* bytes = loaded.blockBytes();
    if (auto error = readInPieces(*file, bytes, size))
        return error;
    // A part record is filled with blanks, as a short page is.
    std::fill(bytes + size, bytes + count * kRecordSize, ' ');
    pages = std::move(loaded);
    info.stamp = found.stamp;
    info.facts = found;
    info.partBytes = static_cast<std::size_t>(size % kRecordSize);
    return std::nullopt;
}

std::optional<FileError> read(const std::string& path, PageList& pages, ReadInfo& info)
{
    FileSystem& files = FileSystem::native();
    if (auto error = readExisting(files, path, pages, info))
        return error;
    if (info.stamp.exists)
        return std::nullopt;
    // A missing notebook is made empty where the folder allows it.
    std::unique_ptr<OpenedFile> created;
    if (!files.createNew(path, created)) {
        // A new notebook in a new place follows the umask.
        created->takeUsualMode();
        info.facts = created->facts();
        info.stamp = info.facts.stamp;
    }
    return std::nullopt;
}

std::optional<FileError> read(const std::string& path, PageList& pages)
{
    ReadInfo ignored;
    return read(path, pages, ignored);
}

std::uint64_t hashOf(const PageList& pages, std::size_t partBytes)
{
    ContentHash hash;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const bool part = i + 1 == pages.size() && partBytes != 0;
        hash.add(pages[i].inhalt.data(), part ? partBytes : kRecordSize);
    }
    return hash.value();
}

bool settled(const FileStamp& stamp)
{
    constexpr std::int64_t kCoarsestStepNs = 2'000'000'000;
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    return std::max(stamp.modifiedNs, stamp.changedNs) + kCoarsestStepNs < now;
}

std::optional<FileError> fingerprint(FileSystem& files, const std::string& path, FileVersion& result)
{
    std::unique_ptr<OpenedFile> file;
    FileFacts found;
    if (auto error = openPlain(files, path, file, found))
        return error;
    // What we would refuse to read is no notebook to compare with.
    if (auto refusal = refuseIfTooLong(path, recordCount(found.stamp.size)))
        return refusal;
    ContentHash hash;
    std::vector<char> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(found.stamp.size, kChunkBytes)));
    for (std::uint64_t offset = 0; offset < found.stamp.size; offset += kChunkBytes) {
        const auto bytes =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, found.stamp.size - offset));
        if (auto error = readInPieces(*file, chunk.data(), bytes))
            return error;
        hash.add(chunk.data(), bytes);
    }
    result = {found.stamp, hash.value()};
    return std::nullopt;
}

std::optional<FileError> write(FileSystem& files, const std::string& path, const std::string& tempName,
                               const PageList& pages, const Expected* expected, Saved& saved)
{
    saved = {};
    std::string target;
    FileFacts existing;
    if (auto refusal = saveTarget(files, path, target, existing))
        return refusal;
    const std::string folder = FileSystem::folderOf(target);
    const std::string temp = FileSystem::inFolder(folder, tempName);

    // A temporary file left by an interrupted save may hold old records past
    // the end of this notebook; it must never reach the notebook.
    if (auto error = files.remove(temp))
        return error;
    std::unique_ptr<OpenedFile> file;
    if (auto error = files.createNew(temp, file))
        return error;
    auto discard = [&](FileError error) {
        if (file)
            (void)file->close();
        file.reset();
        (void)files.remove(temp);
        return error;
    };

    if (auto error = writeRecords(*file, pages))
        return discard(*error);
    const FileFacts model = modelFor(existing, expected);
    if (model.exists)
        file->takeOwnerAndMode(model);
    else
        file->takeUsualMode();
    if (auto error = file->sync())
        return discard(*error);
    const FileFacts result = file->facts();
    auto closing = file->close();
    file.reset();
    if (closing)
        return discard(*closing);

    NotebookPlacing placing{files, target, temp, expected};
    if (auto error = placing.run(saved.written))
        return discard(*error);
    if (!saved.written) {
        (void)files.remove(temp);
        return std::nullopt;
    }
    saved.stamp = placing.placedStamp(result.stamp);
    saved.facts = result;
    auto kept = placing.keepDisplaced(saved.asidePath);
    files.syncFolder(folder);
    return kept;
}

std::optional<FileError> writeNew(FileSystem& files, const std::string& path, const PageList& pages)
{
    std::unique_ptr<OpenedFile> file;
    if (auto error = files.createNew(path, file))
        return error;
    auto error = writeRecords(*file, pages);
    if (!error)
        error = file->sync();
    auto closing = file->close();
    if (!error)
        error = closing;
    if (error)
        (void)files.remove(path);
    return error;
}

std::optional<FileError> write(const std::string& path, const std::string& tempName, const PageList& pages)
{
    Saved ignored;
    return write(FileSystem::native(), path, tempName, pages, nullptr, ignored);
}

} // namespace PageFile
