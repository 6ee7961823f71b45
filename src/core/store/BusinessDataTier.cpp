#include "BusinessDataTier.h"

#include "CodePage.h"
#include "FileSystem.h"
#include "PageFile.h"
#include "core/common/Product.h"
#include "core/desktop/UserDialogs.h"

#include <algorithm>

namespace {

std::unique_ptr<Seite> emptyPage()
{
    auto page = std::make_unique<Seite>();
    page->inhalt.fill(' ');
    return page;
}

} // namespace

BusinessDataTier::BusinessDataTier(UserDialogs& dialogs_)
    : dialogs(dialogs_)
    , codePage(CodePage::system())
{
    seiten.insert(0, std::make_unique<Seite>());
    anzahl = 1;
    aktuell = 1;
}

void BusinessDataTier::vor()
{
    if (aktuell < anzahl) {
        ++aktuell;
        return;
    }
    neu();
}

void BusinessDataTier::zurueck()
{
    aktuell = std::max<std::int16_t>(1, aktuell - 1);
}

void BusinessDataTier::erster()
{
    aktuell = 1;
}

void BusinessDataTier::letzter()
{
    aktuell = anzahl;
}

std::u16string BusinessDataTier::nachname() const
{
    const auto& inhalt = seiten[static_cast<std::size_t>(aktuell - 1)].inhalt;
    std::u16string text(inhalt.size(), u' ');
    codePage.decode(reinterpret_cast<const unsigned char*>(inhalt.data()), text.data(), inhalt.size());
    return text;
}

// The text is fitted to the page: shorter text is filled with blanks, longer
// text is cut, and a character the code page cannot hold becomes '?'.
void BusinessDataTier::nachname(std::u16string_view value)
{
    std::array<char, kPageLength> fitted;
    fitted.fill(' ');
    const std::size_t n = std::min(value.size(), fitted.size());
    codePage.encode(value.data(), reinterpret_cast<unsigned char*>(fitted.data()), n);
    const auto page = static_cast<std::size_t>(aktuell - 1);
    if (fitted == seiten[page].inhalt)
        return;
    ++changeCount;
    seiten.writable(page).inhalt = fitted;
}

void BusinessDataTier::neu()
{
    if (meldetVoll())
        return;
    ++changeCount;
    seiten.insert(static_cast<std::size_t>(aktuell), emptyPage());
    ++anzahl;
    ++aktuell;
}

void BusinessDataTier::entferne()
{
    if (anzahl == 1)
        return;
    const std::uint64_t readBefore = readCount;
    if (!dialogs.askYesNo("Achtung!", "Do you want to delete this site?"))
        return;
    // Read anew while the question was up, the notebook may have another
    // page in this place than the one the user was asked about.
    if (readCount != readBefore) {
        dialogs.tell(Product::kMessageTitle,
                     "Another program changed the notebook \"" + shownPath(PageFile::kName) +
                         "\" while you were asked. Nothing was deleted: the page shown now is the one the "
                         "notebook holds in its place.",
                     UserDialogs::Icon::Information);
        return;
    }
    ++changeCount;
    seiten.remove(static_cast<std::size_t>(aktuell - 1));
    if (aktuell == anzahl)
        --aktuell;
    --anzahl;
}

std::optional<FileError> BusinessDataTier::leseDatei([[maybe_unused]] const std::string& name,
                                                     PageFile::ReadInfo& found)
{
    PageList loaded;
    if (auto error = PageFile::read(PageFile::kName, loaded, found))
        return error;
    nimm(std::move(loaded));
    if (found.partBytes != 0)
        meldeTeilseite(found.partBytes);
    return std::nullopt;
}

std::optional<FileError> BusinessDataTier::leseDatei(const std::string& name)
{
    PageFile::ReadInfo ignored;
    return leseDatei(name, ignored);
}

std::optional<FileError> BusinessDataTier::schreibeDatei([[maybe_unused]] const std::string& name,
                                                         FileSystem& files,
                                                         const PageFile::Expected* expected,
                                                         PageFile::Saved& saved)
{
    auto error = PageFile::write(files, PageFile::kName, PageFile::kTempName, seiten, expected, saved);
    // Ours is in place even where what it took the place of could not be
    // kept aside.
    if (saved.written)
        savedChanges = changeCount;
    return error;
}

std::optional<FileError> BusinessDataTier::schreibeDatei(const std::string& name)
{
    PageFile::Saved ignored;
    return schreibeDatei(name, FileSystem::native(), nullptr, ignored);
}

void BusinessDataTier::takePages(PageList pages)
{
    const std::int16_t page = aktuell;
    nimm(std::move(pages));
    aktuell = std::min(page, anzahl);
}

void BusinessDataTier::nimm(PageList pages)
{
    if (pages.empty())
        pages.insert(0, emptyPage());
    seiten = std::move(pages);
    ++readCount;
    ++changeCount;
    savedChanges = changeCount;
    anzahl = static_cast<std::int16_t>(seiten.size());
    aktuell = 1;
}

void BusinessDataTier::meldeTeilseite(std::size_t bytes)
{
    dialogs.tell(Product::kMessageTitle, partPageText(bytes, anzahl), UserDialogs::Icon::Information);
}

std::string BusinessDataTier::partPageText(std::size_t bytes, std::int16_t page)
{
    return "The notebook \"" + shownPath(PageFile::kName) + "\" ends in a part of a page (" +
           std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") + "). Kelmo-Note keeps it as page " +
           std::to_string(page) + ", filled with blanks; nothing of it is lost.";
}

bool BusinessDataTier::meldetVoll()
{
    if (anzahl < kMaxPages)
        return false;
    dialogs.tell(Product::kMessageTitle,
                 "The notebook is full: Kelmo-Note keeps at most 32767 pages. Delete a page to make room for "
                 "a new one.",
                 UserDialogs::Icon::Information);
    return true;
}
