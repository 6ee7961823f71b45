#include "UserFolders.h"

#include "core/common/Product.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string UserFolders::data()
{
    // The XDG rule: a relative path there is to be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/.local/share" : std::string();
}

std::string UserFolders::runtime()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return runtime;
    const std::string folder = data().empty() ? std::string() : data() + "/" + Product::kFolderName;
    std::error_code ignored;
    if (!folder.empty() && std::filesystem::create_directories(folder, ignored))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ignored);
    return folder;
}
