#pragma once

#include "FileError.h"
#include "PageFile.h"
#include "PageList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CodePage;
class UserDialogs;

// The notebook in memory: an ordered list of pages, each exactly
// kPageLength characters, and a cursor on the current page (from 1).
class BusinessDataTier {
public:
    // Starts with one never-written page and the cursor on it.
    explicit BusinessDataTier(UserDialogs& dialogs);

    void vor();
    void zurueck();
    void erster();
    void letzter();
    std::int16_t currentPage() const { return aktuell; }
    // The current page's text, all kPageLength characters of it.
    std::u16string nachname() const;
    void nachname(std::u16string_view value);
    void neu();
    void entferne();

    // Loads every page of the page file in the working directory and puts the
    // cursor on page 1. An empty file gives one blank page; a part record at
    // the end is a page of its own, and the user is told. On failure the
    // pages in memory are left as they were.
    [[nodiscard]] std::optional<FileError> leseDatei(const std::string& name);
    // Writes every page to the page file in the working directory.
    [[nodiscard]] std::optional<FileError> schreibeDatei(const std::string& name);

    // Whether the pages changed since the file was last read or written.
    bool hasUnsavedChanges() const { return changeCount != savedChanges; }
    // How often the pages were read from the file: a page shown before the
    // last read is not one of these pages.
    std::uint64_t timesRead() const { return readCount; }

    // How the page file on disk stands against the one last read or written.
    enum class FileState { AsKnown, Missing, Replaced };
    // A file replaced by one of the same bytes counts as known from then on.
    [[nodiscard]] std::optional<FileError> checkFile(FileState& state);
    // Loads the page file anew and stays on the same page number where the
    // notebook still has it.
    [[nodiscard]] std::optional<FileError> reload();
    // Renames the page file on disk to a name that says it came from
    // elsewhere, so that writing ours keeps both; `asidePath` gets its path.
    [[nodiscard]] std::optional<FileError> moveFileAside(std::string& asidePath);

    std::int16_t pageCount() const { return anzahl; }

private:
    // The collection never grows past kMaxPages pages; the user is told.
    bool meldetVoll();
    void meldeTeilseite(std::size_t bytes);
    void merkeGrundlage();
    void kenne(const FileStamp& stamp);

    PageList seiten;
    std::int16_t anzahl = 0;
    std::int16_t aktuell = 0;
    std::uint64_t changeCount = 0;
    std::uint64_t savedChanges = 0;
    std::uint64_t readCount = 0;
    // The page file as last read or written: its stamp, the bytes of a part
    // record it ended in, and the hash of its bytes, taken from the pages
    // before they first change.
    FileStamp knownStamp;
    // Whether a change would have changed the stamp; until then the bytes
    // are compared.
    bool knownStampSettled = false;
    std::size_t knownPartBytes = 0;
    std::optional<std::uint64_t> knownHash;
    UserDialogs& dialogs;
    const CodePage& codePage;
};
