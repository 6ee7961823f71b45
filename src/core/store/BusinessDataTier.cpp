#include "BusinessDataTier.h"

#include "CodePage.h"
#include "PageFile.h"
#include "core/desktop/UserDialogs.h"

#include <algorithm>

namespace {

std::unique_ptr<Seite> machLeereSeite()
{
    auto page = std::make_unique<Seite>();
    page->inhalt.fill(' ');
    return page;
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
    auto& inhalt = seiten[static_cast<std::size_t>(aktuell - 1)].inhalt;
    if (fitted == inhalt)
        return;
    merkeGrundlage();
    inhalt = fitted;
    ++changeCount;
}

void BusinessDataTier::neu()
{
    if (meldetVoll())
        return;
    merkeGrundlage();
    seiten.insert(static_cast<std::size_t>(aktuell), machLeereSeite());
    ++changeCount;
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
        dialogs.tell("Kelmo Note",
                     "Another program changed the notebook \"" + shownPath(PageFile::kName) +
                         "\" while you were asked. Nothing was deleted: the page shown now is the one the "
                         "notebook holds in its place.",
                     UserDialogs::Icon::Information);
        return;
    }
    merkeGrundlage();
    seiten.remove(static_cast<std::size_t>(aktuell - 1));
    ++changeCount;
    if (aktuell == anzahl)
        --aktuell;
    --anzahl;
}

std::optional<FileError> BusinessDataTier::leseDatei([[maybe_unused]] const std::string& name)
{
    PageList loaded;
    PageFile::ReadInfo info;
    if (auto error = PageFile::read(PageFile::kName, loaded, info))
        return error;
    // An empty file is known by its hash at once: the blank page added
    // below is not in it.
    knownHash.reset();
    if (loaded.empty()) {
        knownHash = PageFile::hashOf(loaded, 0);
        loaded.insert(0, machLeereSeite());
    }
    seiten = std::move(loaded);
    ++readCount;
    ++changeCount;
    savedChanges = changeCount;
    kenne(info.stamp);
    knownPartBytes = info.partBytes;
    anzahl = static_cast<std::int16_t>(seiten.size());
    aktuell = 1;
    if (info.partBytes != 0)
        meldeTeilseite(info.partBytes);
    return std::nullopt;
}

std::optional<FileError> BusinessDataTier::schreibeDatei([[maybe_unused]] const std::string& name)
{
    FileStamp written;
    if (auto error = PageFile::write(PageFile::kName, PageFile::kTempName, seiten, written))
        return error;
    kenne(written);
    knownPartBytes = 0;
    knownHash.reset();
    savedChanges = changeCount;
    return std::nullopt;
}

std::optional<FileError> BusinessDataTier::checkFile(FileState& state)
{
    FileStamp now;
    if (auto error = PageFile::stamp(PageFile::kName, now))
        return error;
    if (now == knownStamp && knownStampSettled) {
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
    merkeGrundlage();
    const bool sameBytes = onDisk.hash == *knownHash;
    if (sameBytes)
        kenne(onDisk.stamp);
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

void BusinessDataTier::kenne(const FileStamp& stamp)
{
    knownStamp = stamp;
    knownStampSettled = PageFile::settled(stamp);
}

// Until the pages first change, they are what the file holds.
void BusinessDataTier::merkeGrundlage()
{
    if (!knownHash)
        knownHash = PageFile::hashOf(seiten, knownPartBytes);
}

void BusinessDataTier::meldeTeilseite(std::size_t bytes)
{
    dialogs.tell("Kelmo Note",
                 "The notebook \"" + shownPath(PageFile::kName) + "\" ends in a part of a page (" +
                     std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") +
                     "). Kelmo-Note keeps it as page " + std::to_string(anzahl) +
                     ", filled with blanks; nothing of it is lost.",
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
