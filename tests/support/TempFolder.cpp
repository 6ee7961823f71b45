#include "TempFolder.h"

#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

TempFolder::TempFolder()
    : previousFolder(std::filesystem::current_path())
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && folderPath.empty(); ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("kelmo-test-" + std::to_string(random() % 1000000000));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error))
            folderPath = candidate;
    }
    if (folderPath.empty())
        throw std::runtime_error("cannot make a temporary folder");
    std::filesystem::current_path(folderPath);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(previousFolder, ignored);
    // Tests may leave folders read-only; give the removal its way back.
    for (auto& entry : std::filesystem::recursive_directory_iterator(folderPath, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::permissions(folderPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folderPath, ignored);
}
