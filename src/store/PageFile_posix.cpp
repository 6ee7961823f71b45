// The page file on POSIX systems: plain open/read/write/fsync/rename, so that
// every step of a save is one system call whose failure we see.
#include "PageFile.h"

#include "CodePage.h"
#include "FilePlace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace PageFile {
namespace {

// Records moved per system call: large enough to keep calls few, small enough
// to stay in the cache while they are converted.
constexpr std::size_t kRecordsPerChunk = 512;
constexpr std::size_t kChunkBytes = kRecordsPerChunk * kRecordSize;

FileError systemError(const std::string& file, int error)
{
    return {file, std::strerror(error)};
}

class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now and reports the result, which for a written file can be the
    // first sign of a failed write.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

FileStamp stampOf(const struct stat& info)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
#ifdef __APPLE__
    const struct timespec& modified = info.st_mtimespec;
#else
    const struct timespec& modified = info.st_mtim;
#endif
    stamp.modifiedNs = static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
    return stamp;
}

int readFully(int fd, char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO; // the file became shorter while we read it
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int writeFully(int fd, const char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

void createEmptyIfPossible(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0)
        ::close(fd);
}

// fsync on macOS leaves the data in the drive's cache; F_FULLFSYNC does not.
bool syncToDisk(int fd)
{
#ifdef F_FULLFSYNC
    if (::fcntl(fd, F_FULLFSYNC) == 0)
        return true;
#endif
    return ::fsync(fd) == 0;
}

// Makes the rename itself durable. Not every file system can sync a folder;
// the notebook is already complete under its name by then, so this is best effort.
void syncDirectory(const std::string& directory)
{
    const Descriptor fd(
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        ::fsync(fd.get());
}

// Opens a plain file for reading; anything else is refused before it is
// opened, and O_NONBLOCK covers a pipe put there in between.
std::optional<FileError> openForReading(const std::string& path, Descriptor& fd, struct stat& info)
{
    if (auto refusal = FilePlace::refuseUnlessPlain(path))
        return refusal;
    fd.reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return systemError(path, errno);
    if (::fstat(fd.get(), &info) != 0)
        return systemError(path, errno);
    if (!S_ISREG(info.st_mode))
        return FileError{path, "it is not a regular file (a pipe, socket or device)"};
    return std::nullopt;
}

// Visits the file's bytes in chunks of whole records; the last chunk may end
// in a part record.
template <typename Visit>
std::optional<FileError> readChunks(int fd, const std::string& path, std::uint64_t size, Visit visit)
{
    // Whole records, so that a part record at the end can be filled up.
    std::vector<char> chunk(
        static_cast<std::size_t>(std::min<std::uint64_t>(recordCount(size) * kRecordSize, kChunkBytes)));
    for (std::uint64_t offset = 0; offset < size; offset += kChunkBytes) {
        const auto bytes = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, size - offset));
        if (const int error = readFully(fd, chunk.data(), bytes))
            return systemError(path, error);
        visit(chunk, bytes, static_cast<std::size_t>(offset / kRecordSize));
    }
    return std::nullopt;
}

std::optional<FileError> writeRecords(int fd, const std::string& file, const Seiten& pages,
                                      const CodePage& codePage, ContentHash& hash)
{
    std::vector<char> chunk(std::min(pages.size(), kRecordsPerChunk) * kRecordSize);
    for (std::size_t first = 0; first < pages.size(); first += kRecordsPerChunk) {
        const std::size_t count = std::min(kRecordsPerChunk, pages.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            encodeRecord(pages[first + i], chunk.data() + i * kRecordSize, codePage);
        hash.add(chunk.data(), count * kRecordSize);
        if (const int error = writeFully(fd, chunk.data(), count * kRecordSize))
            return systemError(file, error);
    }
    return std::nullopt;
}

// Renames without ever replacing a file already there.
int renameNoReplace(const std::string& from, const std::string& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
#endif
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0)
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace

std::optional<FileError> read(const std::string& path, const CodePage& codePage, Seiten& pages,
                              ReadInfo& info)
{
    struct stat probe {};
    if (::stat(path.c_str(), &probe) != 0 && errno == ENOENT) {
        createEmptyIfPossible(path);
        pages = Seiten();
        info = {};
        if (::stat(path.c_str(), &probe) == 0)
            info.version.stamp = stampOf(probe);
        info.version.hash = ContentHash().value();
        return std::nullopt;
    }
    Descriptor fd(-1);
    struct stat status {};
    if (auto error = openForReading(path, fd, status))
        return error;

    const auto size = static_cast<std::uint64_t>(status.st_size);
    const std::uint64_t count = recordCount(size);
    if (auto refusal = refuseIfTooLong(path, count))
        return refusal;

    Seiten loaded = Seiten::imBlock(static_cast<std::size_t>(count));
    ContentHash hash;
    auto decode = [&](std::vector<char>& chunk, std::size_t bytes, std::size_t firstPage) {
        hash.add(chunk.data(), bytes);
        const std::size_t records = (bytes + kRecordSize - 1) / kRecordSize;
        // A part record is filled with blanks, as a short page is.
        std::fill(chunk.begin() + static_cast<std::ptrdiff_t>(bytes),
                  chunk.begin() + static_cast<std::ptrdiff_t>(records * kRecordSize), ' ');
        for (std::size_t i = 0; i < records; ++i)
            decodeRecord(chunk.data() + i * kRecordSize, loaded[firstPage + i], codePage);
    };
    if (auto error = readChunks(fd.get(), path, size, decode))
        return error;
    pages = std::move(loaded);
    info.version = {stampOf(status), hash.value()};
    info.partBytes = static_cast<std::size_t>(size % kRecordSize);
    return std::nullopt;
}

std::optional<FileError> stamp(const std::string& path, FileStamp& result)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return systemError(path, errno);
        result = {};
        return std::nullopt;
    }
    result = stampOf(info);
    return std::nullopt;
}

std::optional<FileError> fingerprint(const std::string& path, FileVersion& result)
{
    Descriptor fd(-1);
    struct stat status {};
    if (auto error = openForReading(path, fd, status))
        return error;
    // What we would refuse to read is no notebook to compare with.
    if (auto refusal = refuseIfTooLong(path, recordCount(static_cast<std::uint64_t>(status.st_size))))
        return refusal;
    ContentHash hash;
    auto add = [&hash](const std::vector<char>& chunk, std::size_t bytes, std::size_t) {
        hash.add(chunk.data(), bytes);
    };
    if (auto error = readChunks(fd.get(), path, static_cast<std::uint64_t>(status.st_size), add))
        return error;
    result = {stampOf(status), hash.value()};
    return std::nullopt;
}

std::optional<FileError> write(const std::string& path, const std::string& tempName, const Seiten& pages,
                               const CodePage& codePage, FileVersion& written)
{
    std::string target;
    if (auto refusal = FilePlace::writeTarget(path, target))
        return refusal;
    if (auto refusal = FilePlace::refuseUnlessPlain(target))
        return refusal;
    if (auto refusal = FilePlace::refuseIfReadOnly(target))
        return refusal;
    const std::string directory = FilePlace::folderOf(target);
    const std::string temp = FilePlace::inFolder(directory, tempName);

    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;

    // A temporary file left by an interrupted save may hold old records past
    // the end of this notebook; it must never reach the notebook.
    if (::unlink(temp.c_str()) != 0 && errno != ENOENT)
        return systemError(temp, errno);
    Descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.valid())
        return systemError(temp, errno);

    auto discard = [&](FileError error) {
        if (fd.valid())
            fd.close();
        ::unlink(temp.c_str());
        return error;
    };

    ContentHash hash;
    if (auto error = writeRecords(fd.get(), temp, pages, codePage, hash))
        return discard(*error);
    if (replacing) {
        // Best effort: only root may give a file away, and some file systems
        // keep no owners or modes. The owner goes first, as it clears set-id bits.
        if (::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0)
            (void)::fchown(fd.get(), static_cast<uid_t>(-1), existing.st_gid);
        ::fchmod(fd.get(), existing.st_mode & 07777);
    }
    if (!syncToDisk(fd.get()))
        return discard(systemError(temp, errno));
    struct stat result {};
    if (::fstat(fd.get(), &result) != 0)
        return discard(systemError(temp, errno));
    if (fd.close() != 0)
        return discard(systemError(temp, errno));
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return discard(systemError(target, errno));
    syncDirectory(directory);
    written = {stampOf(result), hash.value()};
    return std::nullopt;
}

std::optional<FileError> moveAside(const std::string& path, std::string& asidePath)
{
    std::string target;
    if (auto refusal = FilePlace::writeTarget(path, target))
        return refusal;
    const std::string folder = FilePlace::folderOf(target);
    const std::string name = target.substr(folder.empty() ? 0 : target.find_last_of('/') + 1);
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string aside = FilePlace::inFolder(folder, asideName(name, now, attempt));
        const int error = renameNoReplace(target, aside);
        if (error == EEXIST)
            continue;
        if (error != 0)
            return systemError(target, error);
        syncDirectory(folder);
        asidePath = aside;
        return std::nullopt;
    }
    return systemError(target, EEXIST);
}

} // namespace PageFile
