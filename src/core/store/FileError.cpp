#include "FileError.h"

#include "WorkingFolder.h"

#include <filesystem>
#include <system_error>

std::string shownPath(const std::string& file)
{
    std::error_code failed;
    std::filesystem::path full = std::filesystem::absolute(file, failed);
    // A working folder that was removed has no path of its own any more.
    if (failed && !WorkingFolder::path().empty())
        full = std::filesystem::path(WorkingFolder::path()) / file;
    return (full.empty() ? std::filesystem::path(file) : full.lexically_normal()).string();
}

std::string fileErrorText(std::string_view lead, const FileError& error, std::string_view next)
{
    std::string text(lead);
    text += " \"" + shownPath(error.file) + "\": " + error.reason + ".\n\n";
    text += next;
    return text;
}
