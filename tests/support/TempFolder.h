#pragma once

#include <filesystem>

// A fresh folder that is the working directory for as long as this lives;
// the previous working directory comes back and the folder goes afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return folderPath; }

private:
    std::filesystem::path previousFolder;
    std::filesystem::path folderPath;
};
