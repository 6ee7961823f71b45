#include "WorkingFolder.h"

// Windows does not remove a folder a process works in.

void WorkingFolder::remember() {}

const std::string& WorkingFolder::path()
{
    static const std::string none;
    return none;
}

bool WorkingFolder::rejoin()
{
    return false;
}
