#include "PageFile.h"

#include "CodePage.h"

#include <cstring>
#include <ctime>

namespace PageFile {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t mixed(std::uint64_t state, std::uint64_t word)
{
    state = (state ^ word) * kMultiplier;
    return state ^ (state >> 29);
}

} // namespace

std::uint64_t recordCount(std::uint64_t fileLength)
{
    return (fileLength + kRecordSize - 1) / kRecordSize;
}

std::optional<FileError> refuseIfTooLong(const std::string& path, std::uint64_t records)
{
    if (records <= static_cast<std::uint64_t>(kMaxSeiten))
        return std::nullopt;
    return FileError{path, "it holds " + std::to_string(records) + " pages, more than the " +
                               std::to_string(kMaxSeiten) + " Kelmo-Note can keep"};
}

void decodeRecord(const char* record, Seite& page, const CodePage& codePage)
{
    codePage.decode(reinterpret_cast<const unsigned char*>(record), page.inhalt.data(), kRecordSize);
}

void encodeRecord(const Seite& page, char* record, const CodePage& codePage)
{
    codePage.encode(page.inhalt.data(), reinterpret_cast<unsigned char*>(record), kRecordSize);
}

void ContentHash::add(const char* data, std::size_t size)
{
    length_ += size;
    std::size_t i = 0;
    while (pendingBytes_ != 0 && i < size) {
        pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[i++])) << (8 * pendingBytes_);
        if (++pendingBytes_ == 8) {
            state_ = mixed(state_, pending_);
            pending_ = 0;
            pendingBytes_ = 0;
        }
    }
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, data + i, 8);
        state_ = mixed(state_, word);
    }
    for (; i < size; ++i)
        pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[i])) << (8 * pendingBytes_++);
}

std::uint64_t ContentHash::value() const
{
    return mixed(mixed(state_, pending_), length_);
}

std::string asideName(const std::string& fileName, std::int64_t when, int attempt)
{
    const std::time_t time = static_cast<std::time_t>(when);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    // No ':' in the time: Windows and many shared folders refuse it in names.
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
    const auto dot = fileName.find_last_of('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
    const std::string number = attempt > 1 ? " " + std::to_string(attempt) : std::string();
    return stem + " (changed elsewhere " + stamp + number + ").kel";
}

std::optional<FileError> read(const std::string& path, const CodePage& codePage, Seiten& pages)
{
    ReadInfo ignored;
    return read(path, codePage, pages, ignored);
}

std::optional<FileError> write(const std::string& path, const std::string& tempName, const Seiten& pages,
                               const CodePage& codePage)
{
    FileVersion ignored;
    return write(path, tempName, pages, codePage, ignored);
}

} // namespace PageFile
