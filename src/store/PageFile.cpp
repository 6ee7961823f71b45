#include "PageFile.h"

#include "CodePage.h"

namespace PageFile {

std::uint64_t recordCount(std::uint64_t fileLength)
{
    return fileLength / kRecordSize;
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

} // namespace PageFile
