#include "OptionsFile.h"

#include "core/store/FileSystem.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace OptionsFile {
namespace {

constexpr std::array<std::string_view, 4> kFontNames = {"Arial", "Times New Roman", "MS Sans Serif",
                                                        "News Gothic MT"};
constexpr int kSizeCount = 8;

FileError systemError(const std::string& path, int error)
{
    return {path, std::strerror(error != 0 ? error : EIO)};
}

class File {
public:
    File(const std::string& path, const char* mode)
        : stream(std::fopen(path.c_str(), mode))
    {}
    ~File()
    {
        if (stream)
            std::fclose(stream);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* get() const { return stream; }
    int close()
    {
        const int result = std::fclose(stream);
        stream = nullptr;
        return result;
    }

private:
    std::FILE* stream;
};

// One value; false with errno set on a read error, true with 0 past the end.
bool readValue(std::FILE* file, long record, std::int16_t& value)
{
    value = 0;
    unsigned char bytes[2] = {};
    errno = 0;
    if (std::fseek(file, (record - 1) * kRecordSize, SEEK_SET) != 0)
        return false;
    const std::size_t got = std::fread(bytes, 1, 2, file);
    if (std::ferror(file))
        return false;
    if (got == 2)
        value = static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

// A new options file was made private; it takes the notebook's mode
// beside it, or where there is none, the usual one.
void pickMode(const std::string& target, OpenedFile& file)
{
    FileFacts notebook;
    const std::string beside = FileSystem::inFolder(FileSystem::folderOf(target), "kel.kel");
    if (!FileSystem::native().facts(beside, notebook) && notebook.exists && notebook.regular)
        file.takeOwnerAndMode(notebook);
    else
        file.takeUsualMode();
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::optional<FileError> read(const std::string& path, Options& options)
{
    if (auto refusal = FileSystem::native().refuseUnlessPlain(path))
        return refusal;
    File file(path, "rb");
    if (!file.get()) {
        if (errno != ENOENT)
            return systemError(path, errno);
        std::string target;
        std::unique_ptr<OpenedFile> created;
        if (!FileSystem::native().writeTarget(path, target) &&
            !FileSystem::native().createNew(target, created))
            pickMode(target, *created);
        options = {};
        return std::nullopt;
    }
    Options values;
    if (!readValue(file.get(), 1, values.startHidden) || !readValue(file.get(), 2, values.fontSize) ||
        !readValue(file.get(), 3, values.fontName))
        return systemError(path, errno);
    options = values;
    return std::nullopt;
}

// The allowed links are followed once; the file at their end is opened
// without following another, checked on its descriptor and written through
// it, so that a name switched to a link meanwhile leads nowhere.
std::optional<FileError> write(const std::string& path, const Options& options)
{
    FileSystem& files = FileSystem::native();
    std::string target;
    if (auto refusal = files.writeTarget(path, target))
        return refusal;
    if (auto refusal = files.refuseUnlessPlain(target))
        return refusal;
    std::unique_ptr<OpenedFile> file;
    bool created = false;
    if (auto error = files.openForUpdate(target, file, created))
        return error;
    const std::int16_t values[] = {options.startHidden, options.fontSize, options.fontName};
    for (long record = 1; record <= 3; ++record) {
        const char bytes[2] = {
            static_cast<char>(values[record - 1] & 0xFF),
            static_cast<char>((static_cast<std::uint16_t>(values[record - 1]) >> 8) & 0xFF)};
        if (auto error = file->writeAt(static_cast<std::uint64_t>((record - 1) * kRecordSize), bytes, 2))
            return error;
    }
    if (created)
        pickMode(target, *file);
    return file->close();
}

bool startsHidden(std::int16_t flag)
{
    return flag == 1;
}

std::optional<int> pointSize(std::int16_t index)
{
    if (index < 1 || index > kSizeCount)
        return std::nullopt;
    return 4 + 2 * index;
}

std::optional<std::string_view> fontName(std::int16_t index)
{
    if (index < 1 || index > static_cast<int>(kFontNames.size()))
        return std::nullopt;
    return kFontNames[static_cast<std::size_t>(index - 1)];
}

std::optional<double> number(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::int16_t sizeIndex(std::string_view text)
{
    const auto value = number(text);
    if (!value)
        return 0;
    for (std::int16_t index = 1; index <= kSizeCount; ++index)
        if (*value == *pointSize(index))
            return index;
    return 0;
}

std::int16_t nameIndex(std::string_view text)
{
    for (std::size_t i = 0; i < kFontNames.size(); ++i)
        if (text == kFontNames[i])
            return static_cast<std::int16_t>(i + 1);
    return 0;
}

} // namespace OptionsFile
