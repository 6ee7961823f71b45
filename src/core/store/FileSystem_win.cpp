// The file primitives on Windows, with the Win32 calls. Windows keeps no
// POSIX owners on links; its own access rules guard what a link leads to.
#include "FileSystem.h"

#include "WideText_win.h"
#include <algorithm>

#include <windows.h>

namespace {

FileError lastError(const std::string& file, DWORD code = GetLastError())
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return {file, reason};
}

bool isMissing(DWORD code)
{
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

// Attributes a copy takes from the file it replaces; read-only would stop
// the next save, and the others are the file system's own.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

FileFacts factsOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    FileFacts facts;
    if (!GetFileInformationByHandle(handle, &info))
        return facts;
    facts.exists = true;
    facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.regular = !facts.directory && GetFileType(handle) == FILE_TYPE_DISK;
    facts.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    facts.mode = info.dwFileAttributes;
    facts.stamp.exists = true;
    facts.stamp.device = info.dwVolumeSerialNumber;
    facts.stamp.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    facts.stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    // Windows counts 100 ns ticks since 1601.
    constexpr std::int64_t kTicksTo1970 = 116444736000000000;
    auto ns = [](std::int64_t ticks) { return (ticks - kTicksTo1970) * 100; };
    const std::uint64_t written = (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                  info.ftLastWriteTime.dwLowDateTime;
    facts.stamp.modifiedNs = ns(static_cast<std::int64_t>(written));
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        facts.stamp.changedNs = ns(basic.ChangeTime.QuadPart);
    return facts;
}

class WinFile : public OpenedFile {
public:
    WinFile(HANDLE handle, std::string path)
        : fileHandle(handle)
        , pathName(std::move(path))
    {}
    ~WinFile() override
    {
        if (fileHandle != INVALID_HANDLE_VALUE)
            CloseHandle(fileHandle);
    }

    std::optional<FileError> read(char* data, std::size_t size) override
    {
        while (size > 0) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(fileHandle, data, want, &got, nullptr))
                return lastError(pathName);
            if (got == 0)
                return FileError{pathName, "the file became shorter while it was read"};
            data += got;
            size -= got;
        }
        return std::nullopt;
    }

    std::optional<FileError> writeAt(std::uint64_t offset, const char* data, std::size_t size) override
    {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(fileHandle, at, nullptr, FILE_BEGIN))
            return lastError(pathName);
        return write(data, size);
    }

    std::optional<FileError> write(const char* data, std::size_t size) override
    {
        while (size > 0) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            DWORD done = 0;
            if (!WriteFile(fileHandle, data, want, &done, nullptr))
                return lastError(pathName);
            if (done == 0)
                return lastError(pathName, ERROR_WRITE_FAULT);
            data += done;
            size -= done;
        }
        return std::nullopt;
    }

    std::optional<FileError> sync() override
    {
        if (!FlushFileBuffers(fileHandle))
            return lastError(pathName);
        return std::nullopt;
    }

    void takeOwnerAndMode(const FileFacts& model) override
    {
        FILE_BASIC_INFO basic{};
        if (GetFileInformationByHandleEx(fileHandle, FileBasicInfo, &basic, sizeof basic)) {
            basic.FileAttributes = (model.mode & kKeptAttributes) | FILE_ATTRIBUTE_NORMAL;
            SetFileInformationByHandle(fileHandle, FileBasicInfo, &basic, sizeof basic);
        }
    }

    // Windows gives a new file the folder's access rules already.
    void takeUsualMode() override {}

    FileFacts facts() override { return factsOf(fileHandle); }

    std::optional<FileError> close() override
    {
        const bool closed = CloseHandle(fileHandle) != 0;
        fileHandle = INVALID_HANDLE_VALUE;
        if (!closed)
            return lastError(pathName);
        return std::nullopt;
    }

private:
    HANDLE fileHandle;
    std::string pathName;
};

// Opens whatever is at the path, after every link, only to look at it.
HANDLE openToLook(const std::string& path)
{
    return CreateFileW(WideText::fromUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Relative paths are taken in one folder, given by its full path: where
// the working directory goes, this still names the same folder.
class WinFileSystem : public FileSystem {
public:
    explicit WinFileSystem(std::string folder = {})
        : folderHandle(std::move(folder))
    {}

    bool folderGone() override
    {
        const DWORD attributes =
            GetFileAttributesW(WideText::fromUtf8(folderHandle.empty() ? "." : folderHandle).c_str());
        return attributes == INVALID_FILE_ATTRIBUTES;
    }

    std::optional<FileError> facts(const std::string& pathGiven, FileFacts& result) override
    {
        const std::string path = at(pathGiven);
        const HANDLE handle = openToLook(path);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            if (!isMissing(code))
                return lastError(path, code);
            result = {};
            return std::nullopt;
        }
        result = factsOf(handle);
        CloseHandle(handle);
        return std::nullopt;
    }

    // A link is followed to the file it leads to, so that the save replaces
    // that file and keeps the link.
    std::optional<FileError> writeTarget(const std::string& pathGiven, std::string& target) override
    {
        const std::string path = at(pathGiven);
        target = path;
        const HANDLE handle = openToLook(path);
        if (handle == INVALID_HANDLE_VALUE)
            return std::nullopt;
        wchar_t buffer[32768];
        const DWORD length = GetFinalPathNameByHandleW(handle, buffer, static_cast<DWORD>(std::size(buffer)),
                                                       FILE_NAME_NORMALIZED);
        CloseHandle(handle);
        if (length == 0 || length >= std::size(buffer))
            return std::nullopt;
        std::wstring final(buffer, length);
        if (final.rfind(L"\\\\?\\UNC\\", 0) == 0)
            final = L"\\\\" + final.substr(8);
        else if (final.rfind(L"\\\\?\\", 0) == 0)
            final = final.substr(4);
        target = WideText::toUtf8(final);
        return std::nullopt;
    }

    std::optional<FileError> openForReading(const std::string& pathGiven,
                                            std::unique_ptr<OpenedFile>& file) override
    {
        const std::string path = at(pathGiven);
        const HANDLE handle =
            CreateFileW(WideText::fromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return lastError(path);
        file = std::make_unique<WinFile>(handle, path);
        if (GetFileType(handle) != FILE_TYPE_DISK)
            return FileError{path, "it is not a regular file (a pipe, socket or device)"};
        return std::nullopt;
    }

    std::optional<FileError> createNew(const std::string& pathGiven,
                                       std::unique_ptr<OpenedFile>& file) override
    {
        const std::string path = at(pathGiven);
        const HANDLE handle = CreateFileW(WideText::fromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return lastError(path);
        file = std::make_unique<WinFile>(handle, path);
        return std::nullopt;
    }

    // No sharing for writing while it is open; a link (reparse point) is
    // not followed.
    std::optional<FileError> openForUpdate(const std::string& pathGiven, std::unique_ptr<OpenedFile>& file,
                                           bool& created) override
    {
        const std::string path = at(pathGiven);
        const std::wstring wide = WideText::fromUtf8(path);
        HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        created = false;
        if (handle == INVALID_HANDLE_VALUE && isMissing(GetLastError())) {
            handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            created = handle != INVALID_HANDLE_VALUE;
        }
        if (handle == INVALID_HANDLE_VALUE)
            return lastError(path);
        file = std::make_unique<WinFile>(handle, path);
        const FileFacts found = file->facts();
        if (!found.regular)
            return FileError{path, "it is not a regular file (a folder, pipe or device)"};
        return std::nullopt;
    }

    std::optional<FileError> remove(const std::string& pathGiven) override
    {
        const std::string path = at(pathGiven);
        if (!DeleteFileW(WideText::fromUtf8(path).c_str()) && !isMissing(GetLastError()))
            return lastError(path);
        return std::nullopt;
    }

    std::optional<FileError> replace(const std::string& fromGiven, const std::string& toGiven) override
    {
        const std::string from = at(fromGiven);
        const std::string to = at(toGiven);
        if (!MoveFileExW(WideText::fromUtf8(from).c_str(), WideText::fromUtf8(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return lastError(to);
        return std::nullopt;
    }

    std::optional<FileError> renameToNew(const std::string& fromGiven, const std::string& toGiven,
                                         bool& taken) override
    {
        const std::string from = at(fromGiven);
        const std::string to = at(toGiven);
        taken = false;
        if (MoveFileExW(WideText::fromUtf8(from).c_str(), WideText::fromUtf8(to).c_str(),
                        MOVEFILE_WRITE_THROUGH))
            return std::nullopt;
        const DWORD code = GetLastError();
        taken = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS;
        return lastError(from, code);
    }

    // ReplaceFileW puts the replaced file under a backup name in the same
    // step; from there it goes to `from`, which the replacement has left.
    std::optional<FileError> exchange(const std::string& fromGiven, const std::string& toGiven,
                                      bool& unsupported) override
    {
        const std::string from = at(fromGiven);
        const std::string to = at(toGiven);
        unsupported = false;
        const std::wstring backup = WideText::fromUtf8(from + ".old");
        DeleteFileW(backup.c_str());
        if (!ReplaceFileW(WideText::fromUtf8(to).c_str(), WideText::fromUtf8(from).c_str(), backup.c_str(),
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            const DWORD code = GetLastError();
            // The replaced file was moved to the backup and ours could not
            // follow: the notebook goes back to its name.
            if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
                MoveFileExW(backup.c_str(), WideText::fromUtf8(to).c_str(), MOVEFILE_WRITE_THROUGH);
            unsupported = code == ERROR_INVALID_FUNCTION || code == ERROR_NOT_SUPPORTED ||
                          code == ERROR_INVALID_PARAMETER;
            return lastError(to, code);
        }
        if (!MoveFileExW(backup.c_str(), WideText::fromUtf8(from).c_str(), MOVEFILE_WRITE_THROUGH))
            return lastError(from + ".old");
        return std::nullopt;
    }

    // MOVEFILE_WRITE_THROUGH already waits until the rename is on the disk.
    void syncFolder(const std::string&) override {}

private:
    std::string at(const std::string& path) const
    {
        const bool absolute = path.size() > 1 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
        return folderHandle.empty() || absolute ? path : inFolder(folderHandle, path);
    }

    std::string folderHandle;
};

} // namespace

FileSystem& FileSystem::native()
{
    static WinFileSystem fileSystem;
    return fileSystem;
}

std::unique_ptr<FileSystem> FileSystem::openFolder(const std::string& folder, std::optional<FileError>& error)
{
    const DWORD attributes = GetFileAttributesW(WideText::fromUtf8(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = lastError(folder);
        return nullptr;
    }
    return std::make_unique<WinFileSystem>(folder);
}
