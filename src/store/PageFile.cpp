#include "PageFile.h"

#include "CodePage.h"

namespace PageFile {

std::uint64_t recordCount(std::uint64_t fileLength)
{
    return fileLength / kRecordSize;
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
