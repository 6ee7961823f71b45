// Windows keeps no owners on links as POSIX does, and its own rules already
// refuse writes through links to places the user may not write.
#include "FilePlace.h"

#include <windows.h>

namespace FilePlace {
namespace {

std::wstring wide(const std::string& utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), n);
    return result;
}

} // namespace

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string inFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + "\\" + name;
}

std::optional<FileError> writeTarget(const std::string& path, std::string& target)
{
    target = path;
    return std::nullopt;
}

std::optional<FileError> refuseUnlessPlain(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileError{path, "it is a folder"};
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return FileError{path, "it is not a regular file (a device)"};
    return std::nullopt;
}

std::optional<FileError> refuseIfReadOnly(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FileError{path, "it is read-only"};
    return std::nullopt;
}

} // namespace FilePlace
