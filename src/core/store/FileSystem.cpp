#include "FileSystem.h"

#include "core/common/Platform.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr const char* kSeparators = Platform::kPathSeparators;
constexpr char kSeparator = Platform::kPathSeparator;

} // namespace

std::optional<FileError> FileSystem::refuseUnlessPlain(const std::string& path)
{
    FileFacts found;
    if (auto error = facts(path, found))
        return error;
    if (!found.exists || found.regular)
        return std::nullopt;
    if (found.directory)
        return FileError{path, std::strerror(EISDIR)};
    return FileError{path, "it is not a regular file (a pipe, socket or device)"};
}

std::string FileSystem::folderOf(const std::string& path)
{
    const auto slash = path.find_last_of(kSeparators);
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string FileSystem::nameOf(const std::string& path)
{
    const auto slash = path.find_last_of(kSeparators);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FileSystem::inFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    const bool ends = std::strchr(kSeparators, folder.back()) != nullptr;
    return ends ? folder + name : folder + kSeparator + name;
}
