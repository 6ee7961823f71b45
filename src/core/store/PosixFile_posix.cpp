// A file opened on POSIX systems: each primitive one system call, or a few,
// whose failure we see.
#include "PosixFile_posix.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace PosixFiles {

FileError systemError(const std::string& file, int error)
{
    return {file, std::strerror(error)};
}

// The umask, read once while the program has one thread: reading it means
// setting it.
mode_t usualMask()
{
    static const mode_t mask = [] {
        const mode_t found = ::umask(022);
        ::umask(found);
        return found;
    }();
    return mask;
}

FileFacts factsOf(const struct stat& info)
{
    FileFacts facts;
    facts.exists = true;
    facts.regular = S_ISREG(info.st_mode);
    facts.directory = S_ISDIR(info.st_mode);
    facts.owner = info.st_uid;
    facts.group = info.st_gid;
    facts.mode = info.st_mode & 07777;
    facts.stamp.exists = true;
    facts.stamp.device = static_cast<std::uint64_t>(info.st_dev);
    facts.stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    facts.stamp.size = static_cast<std::uint64_t>(info.st_size);
#ifdef __APPLE__
    const struct timespec& modified = info.st_mtimespec;
    const struct timespec& changed = info.st_ctimespec;
#else
    const struct timespec& modified = info.st_mtim;
    const struct timespec& changed = info.st_ctim;
#endif
    auto ns = [](const struct timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    facts.stamp.modifiedNs = ns(modified);
    facts.stamp.changedNs = ns(changed);
    return facts;
}

} // namespace PosixFiles

namespace {

using namespace PosixFiles;

// Read while the program has one thread.
[[maybe_unused]] const mode_t kMaskAtStart = usualMask();

class PosixFile : public OpenedFile {
public:
    PosixFile(int fd, std::string path)
        : openFd(fd)
        , pathName(std::move(path))
    {}
    ~PosixFile() override
    {
        if (openFd >= 0)
            ::close(openFd);
    }

    std::optional<FileError> read(char* data, std::size_t size) override
    {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(openFd, data + done, size - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return systemError(pathName, errno);
            if (n == 0)
                return FileError{pathName, "the file became shorter while it was read"};
            done += static_cast<std::size_t>(n);
        }
        return std::nullopt;
    }

    std::optional<FileError> writeAt(std::uint64_t offset, const char* data, std::size_t size) override
    {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(openFd, data + done, size - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return systemError(pathName, n < 0 ? errno : EIO);
            done += static_cast<std::size_t>(n);
        }
        return std::nullopt;
    }

    std::optional<FileError> write(const char* data, std::size_t size) override
    {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(openFd, data + done, size - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return systemError(pathName, errno);
            if (n == 0)
                return systemError(pathName, EIO);
            done += static_cast<std::size_t>(n);
        }
        return std::nullopt;
    }

    // fsync on macOS leaves the data in the drive's cache; F_FULLFSYNC does not.
    std::optional<FileError> sync() override
    {
#ifdef F_FULLFSYNC
        if (::fcntl(openFd, F_FULLFSYNC) == 0)
            return std::nullopt;
#endif
        if (::fsync(openFd) != 0)
            return systemError(pathName, errno);
        return std::nullopt;
    }

    // Best effort: only root may give a file away, and some file systems keep
    // no owners or modes. The owner goes first, as it clears set-id bits.
    void takeOwnerAndMode(const FileFacts& model) override
    {
        if (::fchown(openFd, model.owner, model.group) != 0)
            (void)::fchown(openFd, static_cast<uid_t>(-1), model.group);
        (void)::fchmod(openFd, model.mode);
    }

    void takeUsualMode() override
    {
        (void)::fchmod(openFd, 0666 & ~usualMask());
    }

    FileFacts facts() override
    {
        struct stat info {};
        return ::fstat(openFd, &info) == 0 ? factsOf(info) : FileFacts{};
    }

    std::optional<FileError> close() override
    {
        const int result = ::close(openFd);
        openFd = -1;
        if (result != 0)
            return systemError(pathName, errno);
        return std::nullopt;
    }

private:
    int openFd;
    std::string pathName;
};

} // namespace

std::unique_ptr<OpenedFile> PosixFiles::open(int fd, std::string path)
{
    return std::make_unique<PosixFile>(fd, std::move(path));
}
