#include "UserFolders.h"

#include <cstdlib>

std::string UserFolders::data()
{
    // The XDG rule: a relative path there is to be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/.local/share" : std::string();
}
