// On POSIX systems the lock is an flock on a file of the user's beside the
// notebook, ".kel.lock", which only the user can open: the save replaces the
// notebook file, so the lock cannot be on that, and a lock on the folder
// could be taken by anyone who may read the folder.
#include "NotebookLock.h"

#include "FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The notebook after every link; a notebook not yet there is named in its
// folder after links.
std::string realNotebook(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    const std::string folder = FileSystem::folderOf(path);
    const std::string name = path.substr(folder.empty() ? 0 : path.find_last_of('/') + 1);
    if (::realpath(folder.empty() ? "." : folder.c_str(), resolved))
        return FileSystem::inFolder(resolved, name);
    return path;
}

const char* const kLockName = ".kel.lock";

std::string userName(uid_t user)
{
    const struct passwd* entry = ::getpwuid(user);
    return entry ? "the user " + std::string(entry->pw_name)
                 : "the user with the number " + std::to_string(user);
}

} // namespace

NotebookLock::~NotebookLock()
{
    if (fd >= 0)
        ::close(fd);
}

NotebookLock::Outcome NotebookLock::take(const std::string& notebookPath)
{
    const std::string notebook = realNotebook(notebookPath);
    const std::string folder = FileSystem::folderOf(notebook);
    const std::string name = notebook.substr(notebook.find_last_of('/') + 1);
    struct stat place {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &place) != 0) {
        failure = std::strerror(errno);
        notebookIdentity = notebook;
        return Outcome::NotSupported;
    }
    notebookIdentity = std::to_string(place.st_dev) + ":" + std::to_string(place.st_ino) + "/" + name;
    // A file only the user can open: no other user can hold it. Close-on-exec:
    // a browser started from the about dialog must not carry the lock
    // beyond our end.
    const std::string lockFile = FileSystem::inFolder(folder, kLockName);
    fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        failure = lockFile + ": " + std::strerror(errno);
        return Outcome::NotSupported;
    }
    // In a folder others may write, the name may be someone else's.
    if (info.st_uid != ::geteuid() || !S_ISREG(info.st_mode)) {
        failure = lockFile + " belongs to " + userName(info.st_uid);
        ::close(fd);
        fd = -1;
        return Outcome::NotSupported;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Outcome::Taken;
    if (errno == EWOULDBLOCK)
        return Outcome::HeldElsewhere;
    failure = std::strerror(errno);
    return Outcome::NotSupported;
}
