#include "TempFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

TempFolder::TempFolder()
    : previous_(std::filesystem::current_path())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kelmo-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
    std::filesystem::current_path(path_);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    // Tests may leave folders read-only; give the removal its way back.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
}
