// The page file on POSIX systems: plain open/read/write/fsync/rename, so that
// every step of a save is one system call whose failure we see.
#include "PageFile.h"

#include "CodePage.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace PageFile {
namespace {

// Records moved per system call: large enough to keep calls few, small enough
// to stay in the cache while they are converted.
constexpr std::size_t kRecordsPerChunk = 512;
constexpr int kMaxLinkDepth = 40;

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

std::string directoryOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string joined(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return name;
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

// Follows symbolic links to the file that really holds the notebook, so that
// the save replaces that file and leaves the link in place.
std::string resolvedTarget(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1);
        const ssize_t length = ::readlink(current.c_str(), buffer.data(), buffer.size() - 1);
        if (length < 0)
            return current;
        const std::string link(buffer.data(), static_cast<std::size_t>(length));
        current = link.front() == '/' ? link : joined(directoryOf(current), link);
    }
    return current;
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

std::optional<FileError> writeRecords(int fd, const std::string& file, const Seiten& pages,
                                      const CodePage& codePage)
{
    std::vector<char> chunk(std::min(pages.size(), kRecordsPerChunk) * kRecordSize);
    for (std::size_t first = 0; first < pages.size(); first += kRecordsPerChunk) {
        const std::size_t count = std::min(kRecordsPerChunk, pages.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            encodeRecord(pages[first + i], chunk.data() + i * kRecordSize, codePage);
        if (const int error = writeFully(fd, chunk.data(), count * kRecordSize))
            return systemError(file, error);
    }
    return std::nullopt;
}

} // namespace

std::optional<FileError> read(const std::string& path, const CodePage& codePage, Seiten& pages)
{
    // O_NONBLOCK keeps a named pipe in the notebook's place from hanging us.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno != ENOENT)
            return systemError(path, errno);
        createEmptyIfPossible(path);
        pages = Seiten();
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return systemError(path, errno);
    if (S_ISDIR(info.st_mode))
        return systemError(path, EISDIR);
    if (!S_ISREG(info.st_mode))
        return FileError{path, "it is not a regular file"};

    const std::uint64_t count = recordCount(static_cast<std::uint64_t>(info.st_size));
    if (auto refusal = refuseIfTooLong(path, count))
        return refusal;

    Seiten loaded = Seiten::imBlock(static_cast<std::size_t>(count));
    std::vector<char> chunk(std::min<std::uint64_t>(count, kRecordsPerChunk) * kRecordSize);
    for (std::uint64_t first = 0; first < count; first += kRecordsPerChunk) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(kRecordsPerChunk, count - first));
        if (const int error = readFully(fd.get(), chunk.data(), n * kRecordSize))
            return systemError(path, error);
        for (std::size_t i = 0; i < n; ++i)
            decodeRecord(chunk.data() + i * kRecordSize, loaded[static_cast<std::size_t>(first) + i],
                         codePage);
    }
    pages = std::move(loaded);
    return std::nullopt;
}

std::optional<FileError> write(const std::string& path, const std::string& tempName, const Seiten& pages,
                               const CodePage& codePage)
{
    const std::string target = resolvedTarget(path);
    const std::string directory = directoryOf(target);
    const std::string temp = joined(directory, tempName);

    struct stat existing {};
    const bool keepMode = ::stat(target.c_str(), &existing) == 0;

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

    if (auto error = writeRecords(fd.get(), temp, pages, codePage))
        return discard(*error);
    if (keepMode)
        ::fchmod(fd.get(), existing.st_mode & 07777); // best effort: some file systems keep no modes
    if (!syncToDisk(fd.get()))
        return discard(systemError(temp, errno));
    if (fd.close() != 0)
        return discard(systemError(temp, errno));
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return discard(systemError(target, errno));
    syncDirectory(directory);
    return std::nullopt;
}

} // namespace PageFile
