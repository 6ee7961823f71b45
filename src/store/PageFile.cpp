#include "PageFile.h"

#include "CodePage.h"

namespace PageFile {

std::uint64_t recordCount(std::uint64_t fileLength)
{
    return fileLength / kRecordSize;
}

void decodeRecord(const char* record, Seite& page, const CodePage& codePage)
{
    for (std::size_t i = 0; i < kRecordSize; ++i)
        page.inhalt[i] = codePage.decode(static_cast<unsigned char>(record[i]));
}

void encodeRecord(const Seite& page, char* record, const CodePage& codePage)
{
    for (std::size_t i = 0; i < kRecordSize; ++i)
        record[i] = static_cast<char>(codePage.encode(page.inhalt[i]));
}

} // namespace PageFile
