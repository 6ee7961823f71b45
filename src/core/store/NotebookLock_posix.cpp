// On POSIX systems the lock is an flock on the notebook's folder: the save
// replaces the notebook file, never the folder, and no lock file is left
// behind in the user's folder.
#include "NotebookLock.h"

#include "FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

} // namespace

NotebookLock::~NotebookLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

NotebookLock::Outcome NotebookLock::take(const std::string& notebookPath)
{
    const std::string notebook = realNotebook(notebookPath);
    const std::string folder = FileSystem::folderOf(notebook);
    const std::string name = notebook.substr(notebook.find_last_of('/') + 1);
    // Close-on-exec: a browser started from the about dialog must not carry
    // the lock beyond our end.
    fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) {
        reason_ = std::strerror(errno);
        identity_ = notebook;
        return Outcome::NotSupported;
    }
    identity_ = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) + "/" + name;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
        return Outcome::Taken;
    if (errno == EWOULDBLOCK)
        return Outcome::HeldElsewhere;
    reason_ = std::strerror(errno);
    return Outcome::NotSupported;
}
