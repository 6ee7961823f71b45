// The page file on Windows: the same steps as on POSIX systems with the Win32
// calls, ending in MoveFileEx so the notebook is replaced in one step.
#include "PageFile.h"

#include "CodePage.h"
#include "FilePlace.h"

#include <algorithm>
#include <ctime>
#include <vector>
#include <windows.h>

namespace PageFile {
namespace {

constexpr std::size_t kRecordsPerChunk = 64;

std::wstring wide(const std::string& utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), n);
    return result;
}

FileError lastError(const std::string& file)
{
    const DWORD code = GetLastError();
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

class Handle {
public:
    explicit Handle(HANDLE h)
        : h_(h)
    {}
    ~Handle()
    {
        if (valid())
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE h)
    {
        if (valid())
            CloseHandle(h_);
        h_ = h;
    }
    bool close()
    {
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

FileStamp stampOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    FileStamp stamp;
    if (!GetFileInformationByHandle(file, &info))
        return stamp;
    stamp.exists = true;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.modifiedNs =
        static_cast<std::int64_t>(((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                   info.ftLastWriteTime.dwLowDateTime) *
                                  100);
    return stamp;
}

std::optional<FileError> openForReading(const std::string& path, Handle& file)
{
    if (auto refusal = FilePlace::refuseUnlessPlain(path))
        return refusal;
    file.reset(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastError(path);
    return std::nullopt;
}

// Visits the file's bytes in chunks of whole records; the last chunk may end
// in a part record.
template <typename Visit>
std::optional<FileError> readChunks(HANDLE file, const std::string& path, std::uint64_t size, Visit visit)
{
    constexpr std::size_t kChunkBytes = kRecordsPerChunk * kRecordSize;
    // Whole records, so that a part record at the end can be filled up.
    std::vector<char> chunk(
        static_cast<std::size_t>(std::min<std::uint64_t>(recordCount(size) * kRecordSize, kChunkBytes)));
    for (std::uint64_t offset = 0; offset < size; offset += kChunkBytes) {
        const auto bytes = static_cast<DWORD>(std::min<std::uint64_t>(kChunkBytes, size - offset));
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), bytes, &got, nullptr))
            return lastError(path);
        if (got != bytes)
            return FileError{path, "the file became shorter while it was read"};
        visit(chunk, static_cast<std::size_t>(bytes), static_cast<std::size_t>(offset / kRecordSize));
    }
    return std::nullopt;
}

std::uint64_t sizeOf(HANDLE file)
{
    LARGE_INTEGER size{};
    return GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

} // namespace

std::optional<FileError> read(const std::string& path, const CodePage& codePage, Seiten& pages,
                              ReadInfo& info)
{
    if (GetFileAttributesW(wide(path).c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND) {
        Handle created(CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        pages = Seiten();
        info = {};
        if (created.valid())
            info.version.stamp = stampOf(created.get());
        info.version.hash = ContentHash().value();
        return std::nullopt;
    }
    Handle file(INVALID_HANDLE_VALUE);
    if (auto error = openForReading(path, file))
        return error;
    const std::uint64_t size = sizeOf(file.get());
    const std::uint64_t count = recordCount(size);
    if (auto refusal = refuseIfTooLong(path, count))
        return refusal;
    Seiten loaded = Seiten::imBlock(static_cast<std::size_t>(count));
    ContentHash hash;
    auto decode = [&](std::vector<char>& chunk, std::size_t bytes, std::size_t firstPage) {
        hash.add(chunk.data(), bytes);
        const std::size_t records = (bytes + kRecordSize - 1) / kRecordSize;
        std::fill(chunk.begin() + static_cast<std::ptrdiff_t>(bytes),
                  chunk.begin() + static_cast<std::ptrdiff_t>(records * kRecordSize), ' ');
        for (std::size_t i = 0; i < records; ++i)
            decodeRecord(chunk.data() + i * kRecordSize, loaded[firstPage + i], codePage);
    };
    if (auto error = readChunks(file.get(), path, size, decode))
        return error;
    pages = std::move(loaded);
    info.version = {stampOf(file.get()), hash.value()};
    info.partBytes = static_cast<std::size_t>(size % kRecordSize);
    return std::nullopt;
}

std::optional<FileError> stamp(const std::string& path, FileStamp& result)
{
    Handle file(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND)
            return lastError(path);
        result = {};
        return std::nullopt;
    }
    result = stampOf(file.get());
    return std::nullopt;
}

std::optional<FileError> fingerprint(const std::string& path, FileVersion& result)
{
    Handle file(INVALID_HANDLE_VALUE);
    if (auto error = openForReading(path, file))
        return error;
    // What we would refuse to read is no notebook to compare with.
    if (auto refusal = refuseIfTooLong(path, recordCount(sizeOf(file.get()))))
        return refusal;
    ContentHash hash;
    auto add = [&hash](const std::vector<char>& chunk, std::size_t bytes, std::size_t) {
        hash.add(chunk.data(), bytes);
    };
    if (auto error = readChunks(file.get(), path, sizeOf(file.get()), add))
        return error;
    result = {stampOf(file.get()), hash.value()};
    return std::nullopt;
}

std::optional<FileError> write(const std::string& path, const std::string& tempName, const Seiten& pages,
                               const CodePage& codePage, FileVersion& written)
{
    if (auto refusal = FilePlace::refuseUnlessPlain(path))
        return refusal;
    if (auto refusal = FilePlace::refuseIfReadOnly(path))
        return refusal;
    const std::string temp = FilePlace::inFolder(FilePlace::folderOf(path), tempName);

    if (!DeleteFileW(wide(temp).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return lastError(temp);
    Handle file(CreateFileW(wide(temp).c_str(), GENERIC_WRITE | GENERIC_READ, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastError(temp);
    auto discard = [&](FileError error) {
        if (file.valid())
            file.close();
        DeleteFileW(wide(temp).c_str());
        return error;
    };

    ContentHash hash;
    std::vector<char> chunk(std::min(pages.size(), kRecordsPerChunk) * kRecordSize);
    for (std::size_t first = 0; first < pages.size(); first += kRecordsPerChunk) {
        const std::size_t count = std::min(kRecordsPerChunk, pages.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            encodeRecord(pages[first + i], chunk.data() + i * kRecordSize, codePage);
        hash.add(chunk.data(), count * kRecordSize);
        DWORD done = 0;
        const DWORD want = static_cast<DWORD>(count * kRecordSize);
        if (!WriteFile(file.get(), chunk.data(), want, &done, nullptr) || done != want)
            return discard(lastError(temp));
    }
    if (!FlushFileBuffers(file.get()))
        return discard(lastError(temp));
    const FileStamp result = stampOf(file.get());
    if (!file.close())
        return discard(lastError(temp));
    if (!MoveFileExW(wide(temp).c_str(), wide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return discard(lastError(path));
    written = {result, hash.value()};
    return std::nullopt;
}

std::optional<FileError> moveAside(const std::string& path, std::string& asidePath)
{
    const std::string folder = FilePlace::folderOf(path);
    const std::string name = folder.empty() ? path : path.substr(folder.size() + 1);
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string aside = FilePlace::inFolder(folder, asideName(name, now, attempt));
        if (MoveFileExW(wide(path).c_str(), wide(aside).c_str(), MOVEFILE_WRITE_THROUGH)) {
            asidePath = aside;
            return std::nullopt;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
            return lastError(path);
    }
    return FileError{path, "no free name to move it aside"};
}

} // namespace PageFile
