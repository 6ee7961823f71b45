#include "WorkingFolder.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string& remembered()
{
    static std::string folder;
    return folder;
}

} // namespace

void WorkingFolder::remember()
{
    char folder[PATH_MAX];
    if (::getcwd(folder, sizeof folder))
        remembered() = folder;
}

const std::string& WorkingFolder::path()
{
    return remembered();
}

bool WorkingFolder::rejoin()
{
    // A removed folder has no links left, though the process is still in it;
    // a network share that went away cannot even say that much.
    struct stat here {};
    const bool removed = ::stat(".", &here) != 0 || here.st_nlink == 0;
    return removed && !remembered().empty() && ::chdir(remembered().c_str()) == 0;
}
