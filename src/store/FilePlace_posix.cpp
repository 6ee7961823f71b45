#include "FilePlace.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace FilePlace {
namespace {

constexpr int kMaxLinkDepth = 40;

std::string linkText(const std::string& link, const struct stat& info)
{
    std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1);
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size() - 1);
    if (length < 0)
        return {};
    return {buffer.data(), static_cast<std::size_t>(length)};
}

} // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string inFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::optional<FileError> writeTarget(const std::string& path, std::string& target)
{
    std::vector<uid_t> linkOwners;
    std::string current = path;
    struct stat info {};
    for (int depth = 0;; ++depth) {
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return FileError{current, std::strerror(errno)};
            info = {};
            break;
        }
        if (!S_ISLNK(info.st_mode))
            break;
        if (depth == kMaxLinkDepth)
            return FileError{path, std::strerror(ELOOP)};
        linkOwners.push_back(info.st_uid);
        const std::string link = linkText(current, info);
        if (link.empty())
            return FileError{current, std::strerror(errno != 0 ? errno : EINVAL)};
        current = link.front() == '/' ? link : inFolder(folderOf(current), link);
    }
    const bool targetExists = info.st_mode != 0;
    for (const uid_t owner : linkOwners) {
        if (owner != ::geteuid() && !(targetExists && owner == info.st_uid))
            return FileError{path, "it is a link that belongs neither to you nor to the owner of the file it "
                                   "leads to, so Kelmo-Note does not write through it"};
    }
    target = current;
    return std::nullopt;
}

std::optional<FileError> refuseUnlessPlain(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::nullopt
                               : std::optional<FileError>(FileError{path, std::strerror(errno)});
    if (S_ISDIR(info.st_mode))
        return FileError{path, std::strerror(EISDIR)};
    if (!S_ISREG(info.st_mode))
        return FileError{path, "it is not a regular file (a pipe, socket or device)"};
    return std::nullopt;
}

std::optional<FileError> refuseIfReadOnly(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    // Root may write anything; a file with no write permission for anyone is
    // still meant to stay as it is.
    const bool noWriteBits = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (noWriteBits || (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES))
        return FileError{path, "it is read-only"};
    return std::nullopt;
}

} // namespace FilePlace
