#include "Rescue.h"

#include "FileSystem.h"
#include "PageFile.h"
#include "UserFolders.h"
#include "core/common/Product.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace Rescue {
namespace {

const char* const kFromSuffix = ".from";

std::string notebookFolderOf(const std::string& rescuePath)
{
    std::ifstream from(rescuePath + kFromSuffix, std::ios::binary);
    return {std::istreambuf_iterator<char>(from), std::istreambuf_iterator<char>()};
}

// A small file beside the rescue that names the notebook's folder.
void writeOriginNote(FileSystem& files, const std::string& name, const std::string& notebookFolder)
{
    std::unique_ptr<OpenedFile> from;
    if (files.createNew(name + kFromSuffix, from))
        return;
    (void)from->write(notebookFolder.data(), notebookFolder.size());
    (void)from->sync();
    (void)from->close();
}

} // namespace

std::string folder()
{
    const std::string data = UserFolders::data();
    return data.empty() ? std::string() : FileSystem::inFolder(data, Product::kFolderName);
}

std::string fileName(const std::string& notebookFolder, std::int64_t when, int attempt)
{
    std::string name = "kel-rescue " + FileSystem::nameOf(notebookFolder) + " " + PageFile::timeInName(when);
    if (attempt > 1)
        name.append(" ").append(std::to_string(attempt));
    return name.append(".kel");
}

std::optional<FileError> write(const PageList& pages, const std::string& notebookFolder,
                               std::string& rescuePath)
{
    const std::string where = folder();
    if (where.empty())
        return FileError{"kel-rescue", "there is no folder for the user's data (HOME is not set)"};
    std::error_code ignored;
    std::filesystem::create_directories(where, ignored);
    std::filesystem::permissions(where, std::filesystem::perms::owner_all, ignored);
    std::optional<FileError> error;
    auto files = FileSystem::openFolder(where, error);
    if (!files)
        return error;
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string name = fileName(notebookFolder, now, attempt);
        FileFacts there;
        if (auto looking = files->facts(name, there))
            return looking;
        if (there.exists)
            continue;
        if (auto writing = PageFile::writeNew(*files, name, pages))
            return writing;
        writeOriginNote(*files, name, notebookFolder);
        files->syncFolder("");
        rescuePath = FileSystem::inFolder(where, name);
        return std::nullopt;
    }
    return FileError{FileSystem::inFolder(where, fileName(notebookFolder, now, 1)), "no free name for it"};
}

std::vector<std::string> untold(const std::string& notebookFolder)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder(), error)) {
        const std::string path = entry.path().string();
        const bool note = path.size() > 5 && path.compare(path.size() - 5, 5, kFromSuffix) == 0;
        if (note && notebookFolderOf(path.substr(0, path.size() - 5)) == notebookFolder)
            found.push_back(path.substr(0, path.size() - 5));
    }
    return found;
}

void told(const std::string& rescuePath)
{
    std::error_code ignored;
    std::filesystem::remove(rescuePath + kFromSuffix, ignored);
}

} // namespace Rescue
