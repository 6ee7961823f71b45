// The file primitives on POSIX systems: each one system call, or a few,
// whose failure we see.
#include "FileSystem.h"
#include "PosixFile_posix.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace PosixFiles;

constexpr int kMaxLinkDepth = 40;

std::string linkText(int folder, const std::string& link, const struct stat& info)
{
    std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1);
    const ssize_t length = ::readlinkat(folder, link.c_str(), buffer.data(), buffer.size() - 1);
    if (length < 0)
        return {};
    return {buffer.data(), static_cast<std::size_t>(length)};
}

// Every path is taken in one folder, held open: a relative path there, and
// not in whatever the working directory is by then.
class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(int folder = AT_FDCWD)
        : folderHandle(folder)
    {}
    ~PosixFileSystem() override
    {
        if (folderHandle != AT_FDCWD)
            ::close(folderHandle);
    }
    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

    std::optional<FileError> facts(const std::string& path, FileFacts& result) override
    {
        struct stat info {};
        if (::fstatat(folderHandle, path.c_str(), &info, 0) != 0) {
            if (errno != ENOENT)
                return systemError(path, errno);
            result = {};
            return std::nullopt;
        }
        result = factsOf(info);
        // Root may write anything; a file with no write permission for anyone
        // is still meant to stay as it is.
        result.readOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                          (::faccessat(folderHandle, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES);
        return std::nullopt;
    }

    std::optional<FileError> writeTarget(const std::string& path, std::string& target) override
    {
        std::vector<uid_t> linkOwners;
        std::string current = path;
        struct stat info {};
        for (int depth = 0;; ++depth) {
            if (::fstatat(folderHandle, current.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT)
                    return systemError(current, errno);
                info = {};
                break;
            }
            if (!S_ISLNK(info.st_mode))
                break;
            if (depth == kMaxLinkDepth)
                return systemError(path, ELOOP);
            linkOwners.push_back(info.st_uid);
            const std::string link = linkText(folderHandle, current, info);
            if (link.empty())
                return systemError(current, errno != 0 ? errno : EINVAL);
            current = link.front() == '/' ? link : inFolder(folderOf(current), link);
        }
        const bool targetExists = info.st_mode != 0;
        for (const uid_t owner : linkOwners) {
            if (owner != ::geteuid() && !(targetExists && owner == info.st_uid))
                return FileError{path,
                                 "it is a link that belongs neither to you nor to the owner of the file "
                                 "it leads to, so Kelmo-Note does not write through it"};
        }
        target = current;
        return std::nullopt;
    }

    std::optional<FileError> openForReading(const std::string& path,
                                            std::unique_ptr<OpenedFile>& file) override
    {
        // O_NONBLOCK keeps a pipe put in the file's place from holding us up.
        const int fd = ::openat(folderHandle, path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat info {};
        return nimmDatei(fd, path, file, info);
    }

    std::optional<FileError> createNew(const std::string& path, std::unique_ptr<OpenedFile>& file) override
    {
        const int fd =
            ::openat(folderHandle, path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return systemError(path, errno);
        file = PosixFiles::open(fd, path);
        return std::nullopt;
    }

    std::optional<FileError> openForUpdate(const std::string& path, std::unique_ptr<OpenedFile>& file,
                                           bool& created) override
    {
        created = false;
        int fd = ::openat(folderHandle, path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            fd = ::openat(folderHandle, path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
            created = fd >= 0;
        }
        struct stat info {};
        if (auto refusal = nimmDatei(fd, path, file, info))
            return refusal;
        // Root may look after another user's files; nobody else writes into
        // a file that is not theirs.
        if (info.st_uid != ::geteuid() && ::geteuid() != 0)
            return FileError{path, "it belongs to another user, so Kelmo-Note does not write into it"};
        return std::nullopt;
    }

    std::optional<FileError> remove(const std::string& path) override
    {
        if (::unlinkat(folderHandle, path.c_str(), 0) != 0 && errno != ENOENT)
            return systemError(path, errno);
        return std::nullopt;
    }

    std::optional<FileError> replace(const std::string& from, const std::string& to) override
    {
        if (::renameat(folderHandle, from.c_str(), folderHandle, to.c_str()) != 0)
            return systemError(to, errno);
        return std::nullopt;
    }

    std::optional<FileError> renameToNew(const std::string& from, const std::string& to, bool& taken) override
    {
        taken = false;
#ifdef RENAME_NOREPLACE
        if (::renameat2(folderHandle, from.c_str(), folderHandle, to.c_str(), RENAME_NOREPLACE) == 0)
            return std::nullopt;
        if (errno != EINVAL && errno != ENOSYS) {
            taken = errno == EEXIST;
            return systemError(from, errno);
        }
#endif
        struct stat info {};
        if (::fstatat(folderHandle, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            taken = true;
            return systemError(to, EEXIST);
        }
        if (::renameat(folderHandle, from.c_str(), folderHandle, to.c_str()) != 0)
            return systemError(from, errno);
        return std::nullopt;
    }

    std::optional<FileError> exchange(const std::string& from, const std::string& to,
                                      bool& unsupported) override
    {
        unsupported = false;
#if defined(RENAME_EXCHANGE)
        if (::renameat2(folderHandle, from.c_str(), folderHandle, to.c_str(), RENAME_EXCHANGE) == 0)
            return std::nullopt;
#elif defined(RENAME_SWAP)
        if (::renameatx_np(folderHandle, from.c_str(), folderHandle, to.c_str(), RENAME_SWAP) == 0)
            return std::nullopt;
#else
        errno = ENOSYS;
#endif
        unsupported = errno == EINVAL || errno == ENOSYS || errno == ENOTSUP || errno == EOPNOTSUPP;
        return systemError(to, errno);
    }

    // Not every file system can sync a folder; the file is already complete
    // under its name by then, so this is best effort.
    void syncFolder(const std::string& folder) override
    {
        if (folder.empty() && folderHandle != AT_FDCWD) {
            ::fsync(folderHandle);
            return;
        }
        const int fd =
            ::openat(folderHandle, folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }

    bool folderGone() override
    {
        struct stat info {};
        return ::fstatat(folderHandle, ".", &info, 0) != 0 || info.st_nlink == 0;
    }

    static constexpr const char* kNotAFile = "it is not a regular file (a pipe, socket or device)";

private:
    // Keeps an opened descriptor as `file`, checked on the descriptor to be
    // a plain file; `info` gets what fstat said.
    static std::optional<FileError> nimmDatei(int fd, const std::string& path,
                                              std::unique_ptr<OpenedFile>& file, struct stat& info)
    {
        if (fd < 0)
            return systemError(path, errno);
        file = PosixFiles::open(fd, path);
        if (::fstat(fd, &info) != 0)
            return systemError(path, errno);
        if (!S_ISREG(info.st_mode))
            return FileError{path, S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : kNotAFile};
        return std::nullopt;
    }

    int folderHandle;
};

} // namespace

FileSystem& FileSystem::native()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}

std::unique_ptr<FileSystem> FileSystem::openFolder(const std::string& folder, std::optional<FileError>& error)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(folder, errno);
        return nullptr;
    }
    return std::make_unique<PosixFileSystem>(fd);
}
