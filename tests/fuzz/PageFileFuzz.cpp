// Reads arbitrary bytes as a notebook. Whatever the file holds: no crash, no
// more pages than a notebook can have, and a notebook that was read saves
// back as exactly its bytes, a part record at the end filled with blanks.
#include "core/desktop/UserDialogs.h"
#include "core/store/BusinessDataTier.h"
#include "core/store/PageFile.h"

#include "ScratchFolder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class SilentDialogs : public UserDialogs {
public:
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void tell(const std::string&, const std::string&, Icon) override {}
};

std::string fileBytes()
{
    std::ifstream in(PageFile::kName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

// The first byte chooses how the file is made: as the bytes given, or as
// those bytes at the start of a sparse file whose length the next four bytes
// give: up to 64 records after 'L', and just past the limit of a notebook
// after 'H', which must be refused. (Reading a notebook at the limit takes
// seconds here; the unit tests do that once.)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    enterScratchFolder();
    std::string content(reinterpret_cast<const char*>(data), size);
    std::uint64_t length = content.size();
    if (size >= 5 && (data[0] == 'L' || data[0] == 'H')) {
        std::uint32_t wanted = 0;
        std::memcpy(&wanted, data + 1, 4);
        if (data[0] == 'L')
            length = wanted % (64 * PageFile::kRecordSize + 1);
        else
            length =
                (kMaxPages + wanted % 2) * PageFile::kRecordSize + 1 + (wanted >> 8) % PageFile::kRecordSize;
        content = content.substr(5, static_cast<std::size_t>(std::min<std::uint64_t>(length, size - 5)));
    }
    ::unlink(PageFile::kTempName);
    {
        std::ofstream out(PageFile::kName, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    if (::truncate(PageFile::kName, static_cast<off_t>(length)) != 0)
        std::abort();

    SilentDialogs dialogs;
    BusinessDataTier store(dialogs);
    const std::uint64_t records = PageFile::recordCount(length);
    if (store.leseDatei(PageFile::kName)) {
        if (records <= static_cast<std::uint64_t>(kMaxPages))
            std::abort(); // a readable notebook was refused
        return 0;
    }
    if (records > static_cast<std::uint64_t>(kMaxPages) || store.pageCount() < 1 ||
        store.pageCount() > kMaxPages || store.currentPage() != 1)
        std::abort();
    if (records == 0 || records > 64)
        return 0; // saving large notebooks is slow and proves nothing more
    const std::string before =
        fileBytes() + std::string(static_cast<std::size_t>(records * PageFile::kRecordSize - length), ' ');
    if (store.schreibeDatei("Kelmo-Note") || fileBytes() != before)
        std::abort();
    return 0;
}
