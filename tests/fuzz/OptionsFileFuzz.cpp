// Reads arbitrary bytes as the options file: no crash, and no value outside
// the tables is ever applied. Writing keeps every byte but the three values.
#include "core/options/OptionsFile.h"

#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string fileBytes()
{
    std::ifstream in(OptionsFile::kName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    enterScratchFolder();
    const std::string content(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(OptionsFile::kName, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    Options options;
    if (OptionsFile::read(OptionsFile::kName, options))
        std::abort();
    if (const auto points = OptionsFile::pointSize(options.fontSize); points && (*points < 6 || *points > 20))
        std::abort();
    if (OptionsFile::fontName(options.fontName) && (options.fontName < 1 || options.fontName > 4))
        std::abort();
    if (OptionsFile::startsHidden(options.startHidden) != (options.startHidden == 1))
        std::abort();

    const Options written{static_cast<std::int16_t>(size), options.startHidden, options.fontSize};
    if (OptionsFile::write(OptionsFile::kName, written))
        std::abort();
    std::string expected = content;
    if (expected.size() < 258)
        expected.resize(258, '\0');
    const std::int16_t values[3] = {written.startHidden, written.fontSize, written.fontName};
    for (int i = 0; i < 3; ++i) {
        const auto bits = static_cast<std::uint16_t>(values[i]);
        expected[static_cast<std::size_t>(i * 128)] = static_cast<char>(bits & 0xFF);
        expected[static_cast<std::size_t>(i * 128 + 1)] = static_cast<char>(bits >> 8);
    }
    if (fileBytes() != expected)
        std::abort();
    Options back;
    if (OptionsFile::read(OptionsFile::kName, back) || back.startHidden != written.startHidden ||
        back.fontSize != written.fontSize || back.fontName != written.fontName)
        std::abort();
    return 0;
}
