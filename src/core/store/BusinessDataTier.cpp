#include "BusinessDataTier.h"

#include "CodePage.h"
#include "PageFile.h"
#include "core/desktop/UserDialogs.h"

#include <algorithm>

namespace {

std::unique_ptr<Seite> machLeereSeite()
{
    auto seite = std::make_unique<Seite>();
    seite->inhalt.fill(u' ');
    return seite;
}

} // namespace

BusinessDataTier::BusinessDataTier(UserDialogs& dialogs)
    : dialogs(dialogs)
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

std::u16string_view BusinessDataTier::nachname() const
{
    const auto& inhalt = seiten[static_cast<std::size_t>(aktuell - 1)].inhalt;
    return {inhalt.data(), inhalt.size()};
}

void BusinessDataTier::nachname(std::u16string_view value)
{
    auto& inhalt = seiten[static_cast<std::size_t>(aktuell - 1)].inhalt;
    const std::size_t n = std::min(value.size(), inhalt.size());
    const auto rest = inhalt.begin() + static_cast<std::ptrdiff_t>(n);
    if (std::equal(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(n), inhalt.begin()) &&
        std::all_of(rest, inhalt.end(), [](char16_t c) { return c == u' '; }))
        return;
    std::copy_n(value.begin(), n, inhalt.begin());
    std::fill(rest, inhalt.end(), u' ');
    ++changeCount;
}

void BusinessDataTier::neu()
{
    if (meldetVoll())
        return;
    seiten.insert(static_cast<std::size_t>(aktuell), machLeereSeite());
    ++changeCount;
    ++anzahl;
    ++aktuell;
}

void BusinessDataTier::entferne()
{
    if (anzahl == 1)
        return;
    if (!dialogs.askYesNo("Achtung!", "Do you want to delete this site?"))
        return;
    seiten.remove(static_cast<std::size_t>(aktuell - 1));
    ++changeCount;
    if (aktuell == anzahl)
        --aktuell;
    --anzahl;
}

std::optional<FileError> BusinessDataTier::leseDatei([[maybe_unused]] const std::string& name)
{
    PageList gelesen;
    PageFile::ReadInfo info;
    if (auto error = PageFile::read(PageFile::kName, codePage, gelesen, info))
        return error;
    if (gelesen.empty())
        gelesen.insert(0, machLeereSeite());
    seiten = std::move(gelesen);
    ++changeCount;
    savedChanges = changeCount;
    knownFile = info.version;
    anzahl = static_cast<std::int16_t>(seiten.size());
    aktuell = 1;
    if (info.partBytes != 0)
        meldeTeilseite(info.partBytes);
    return std::nullopt;
}

std::optional<FileError> BusinessDataTier::schreibeDatei([[maybe_unused]] const std::string& name)
{
    FileVersion written;
    if (auto error = PageFile::write(PageFile::kName, PageFile::kTempName, seiten, codePage, written))
        return error;
    knownFile = written;
    savedChanges = changeCount;
    return std::nullopt;
}

std::optional<FileError> BusinessDataTier::checkFile(FileState& state)
{
    FileStamp now;
    if (auto error = PageFile::stamp(PageFile::kName, now))
        return error;
    if (now == knownFile.stamp) {
        state = FileState::AsKnown;
        return std::nullopt;
    }
    if (!now.exists) {
        state = FileState::Missing;
        return std::nullopt;
    }
    FileVersion onDisk;
    if (auto error = PageFile::fingerprint(PageFile::kName, onDisk))
        return error;
    const bool sameBytes = onDisk.hash == knownFile.hash;
    if (sameBytes)
        knownFile = onDisk;
    state = sameBytes ? FileState::AsKnown : FileState::Replaced;
    return std::nullopt;
}

std::optional<FileError> BusinessDataTier::reload()
{
    const std::int16_t page = aktuell;
    if (auto error = leseDatei(PageFile::kName))
        return error;
    aktuell = std::min(page, anzahl);
    return std::nullopt;
}

std::optional<FileError> BusinessDataTier::moveFileAside(std::string& asidePath)
{
    return PageFile::moveAside(PageFile::kName, asidePath);
}

void BusinessDataTier::meldeTeilseite(std::size_t bytes)
{
    dialogs.tell("Kelmo Note",
                 "The notebook \"" + shownPath(PageFile::kName) + "\" ends in a part of a page (" +
                     std::to_string(bytes) + " bytes). Kelmo-Note keeps it as page " +
                     std::to_string(anzahl) + ", filled with blanks; nothing of it is lost.",
                 UserDialogs::Icon::Information);
}

bool BusinessDataTier::meldetVoll()
{
    if (anzahl < kMaxPages)
        return false;
    dialogs.tell("Kelmo Note",
                 "The notebook is full: Kelmo-Note keeps at most 32767 pages. Delete a page to make room for "
                 "a new one.",
                 UserDialogs::Icon::Information);
    return true;
}
