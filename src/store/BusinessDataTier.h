#pragma once

#include "FileError.h"
#include "Seiten.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CodePage;
class UserDialogs;

// The notebook in memory: an ordered list of pages, each exactly
// kSeitenLaenge characters, and a cursor on the current page (from 1).
class BusinessDataTier {
public:
    // Starts with one never-written page and the cursor on it.
    explicit BusinessDataTier(UserDialogs& dialogs);

    void vor();
    void zurueck();
    void erster();
    void letzter();
    std::int16_t nr() const { return aktuell; }
    std::u16string_view nachname() const;
    void nachname(std::u16string_view value);
    void neu();
    void entferne();

    // Loads every page of the page file in the working directory and puts the
    // cursor on page 1. A file without a whole record gives one blank page.
    // On failure the pages in memory are left as they were.
    [[nodiscard]] std::optional<FileError> leseDatei(const std::string& name);
    // Writes every page to the page file in the working directory.
    [[nodiscard]] std::optional<FileError> schreibeDatei(const std::string& name);

    std::int16_t anzahlSeiten() const { return anzahl; }
    // Grows with every change to the pages, so a caller can tell whether
    // anything changed since it last looked.
    std::uint64_t aenderungen() const { return aenderungsZaehler; }

private:
    // The collection never grows past kMaxSeiten pages; the user is told.
    bool meldetVoll();

    Seiten seiten;
    std::int16_t anzahl = 0;
    std::int16_t aktuell = 0;
    std::uint64_t aenderungsZaehler = 0;
    UserDialogs& dialoge;
    const CodePage& codePage;
};
