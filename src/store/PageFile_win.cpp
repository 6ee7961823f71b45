// The page file on Windows: the same steps as on POSIX systems with the Win32
// calls, ending in MoveFileEx so the notebook is replaced in one step.
#include "PageFile.h"

#include "CodePage.h"

#include <algorithm>
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
    bool close()
    {
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

} // namespace

std::optional<FileError> read(const std::string& path, const CodePage& codePage, Seiten& pages)
{
    Handle file(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            return lastError(path);
        Handle created(CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        pages = Seiten();
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return lastError(path);
    const std::uint64_t count = recordCount(static_cast<std::uint64_t>(size.QuadPart));
    if (auto refusal = refuseIfTooLong(path, count))
        return refusal;
    Seiten loaded = Seiten::imBlock(static_cast<std::size_t>(count));
    std::vector<char> chunk(std::min<std::uint64_t>(count, kRecordsPerChunk) * kRecordSize);
    for (std::uint64_t first = 0; first < count; first += kRecordsPerChunk) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(kRecordsPerChunk, count - first));
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(n * kRecordSize);
        if (!ReadFile(file.get(), chunk.data(), want, &got, nullptr))
            return lastError(path);
        if (got != want)
            return FileError{path, "the file became shorter while it was read"};
        for (std::size_t i = 0; i < n; ++i)
            decodeRecord(chunk.data() + i * kRecordSize, loaded[static_cast<std::size_t>(first) + i],
                         codePage);
    }
    pages = std::move(loaded);
    return std::nullopt;
}

std::optional<FileError> write(const std::string& path, const std::string& tempName, const Seiten& pages,
                               const CodePage& codePage)
{
    const auto slash = path.find_last_of("/\\");
    const std::string temp = slash == std::string::npos ? tempName : path.substr(0, slash + 1) + tempName;

    if (!DeleteFileW(wide(temp).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return lastError(temp);
    Handle file(CreateFileW(wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.valid())
        return lastError(temp);
    auto discard = [&](FileError error) {
        if (file.valid())
            file.close();
        DeleteFileW(wide(temp).c_str());
        return error;
    };

    std::vector<char> chunk(std::min(pages.size(), kRecordsPerChunk) * kRecordSize);
    for (std::size_t first = 0; first < pages.size(); first += kRecordsPerChunk) {
        const std::size_t count = std::min(kRecordsPerChunk, pages.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            encodeRecord(pages[first + i], chunk.data() + i * kRecordSize, codePage);
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(count * kRecordSize);
        if (!WriteFile(file.get(), chunk.data(), want, &written, nullptr) || written != want)
            return discard(lastError(temp));
    }
    if (!FlushFileBuffers(file.get()))
        return discard(lastError(temp));
    if (!file.close())
        return discard(lastError(temp));
    if (!MoveFileExW(wide(temp).c_str(), wide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return discard(lastError(path));
    return std::nullopt;
}

} // namespace PageFile
