#pragma once

#include "FileError.h"
#include "PageFile.h"
#include "PageList.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CodePage;
class FileSystem;
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
    // The cursor on `page`, within the pages there are.
    void moveTo(std::int16_t page) { aktuell = std::clamp<std::int16_t>(page, 1, anzahl); }
    std::int16_t currentPage() const { return aktuell; }
    // The current page's text, all kPageLength characters of it.
    std::u16string nachname() const;
    void nachname(std::u16string_view value);
    void neu();
    void entferne();

    // Loads every page of the page file in the working directory and puts the
    // cursor on page 1. An empty file gives one blank page; a part record at
    // the end is a page of its own, and the user is told. On failure the
    // pages in memory are left as they were. `found` tells what was read.
    [[nodiscard]] std::optional<FileError> leseDatei(const std::string& name, PageFile::ReadInfo& found);
    [[nodiscard]] std::optional<FileError> leseDatei(const std::string& name);
    // Writes every page to the page file in the working directory; see
    // PageFile::write for `expected` and `saved`.
    [[nodiscard]] std::optional<FileError> schreibeDatei(const std::string& name, FileSystem& files,
                                                         const PageFile::Expected* expected,
                                                         PageFile::Saved& saved);
    [[nodiscard]] std::optional<FileError> schreibeDatei(const std::string& name);
    // Takes the pages another program wrote in place of ours, staying on the
    // same page number where the notebook still has it.
    void takePages(PageList pages);
    // What the user is told of a notebook that ends in a part of a page.
    static std::string partPageText(std::size_t bytes, std::int16_t page);

    // Whether the pages changed since the file was last read or written.
    bool hasUnsavedChanges() const { return changeCount != savedChanges; }
    // How often the pages were read from the file: a page shown before the
    // last read is not one of these pages.
    std::uint64_t timesRead() const { return readCount; }
    const PageList& pages() const { return seiten; }
    // Counts every change of the pages; a save of a snapshot marks as saved
    // only the changes it holds.
    std::uint64_t changes() const { return changeCount; }
    void markSaved(std::uint64_t upTo) { savedChanges = std::max(savedChanges, upTo); }

    std::int16_t pageCount() const { return anzahl; }

private:
    // The collection never grows past kMaxPages pages; the user is told.
    bool meldetVoll();
    void meldeTeilseite(std::size_t bytes);
    void nimm(PageList pages);

    PageList seiten;
    std::int16_t anzahl = 0;
    std::int16_t aktuell = 0;
    std::uint64_t changeCount = 0;
    std::uint64_t savedChanges = 0;
    std::uint64_t readCount = 0;
    UserDialogs& dialogs;
    const CodePage& codePage;
};
