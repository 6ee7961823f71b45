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
    Optionen options;
    if (OptionsFile::read(OptionsFile::kName, options))
        std::abort();
    if (const auto points = OptionsFile::pointSize(options.schriftGroesse);
        points && (*points < 6 || *points > 20))
        std::abort();
    if (OptionsFile::fontName(options.schriftName) && (options.schriftName < 1 || options.schriftName > 4))
        std::abort();
    if (OptionsFile::startsHidden(options.startVersteckt) != (options.startVersteckt == 1))
        std::abort();

    const Optionen written{static_cast<std::int16_t>(size), options.startVersteckt, options.schriftGroesse};
    if (OptionsFile::write(OptionsFile::kName, written))
        std::abort();
    std::string expected = content;
    if (expected.size() < 258)
        expected.resize(258, '\0');
    const std::int16_t values[3] = {written.startVersteckt, written.schriftGroesse, written.schriftName};
    for (int i = 0; i < 3; ++i) {
        const auto bits = static_cast<std::uint16_t>(values[i]);
        expected[static_cast<std::size_t>(i * 128)] = static_cast<char>(bits & 0xFF);
        expected[static_cast<std::size_t>(i * 128 + 1)] = static_cast<char>(bits >> 8);
    }
    if (fileBytes() != expected)
        std::abort();
    Optionen back;
    if (OptionsFile::read(OptionsFile::kName, back) || back.startVersteckt != written.startVersteckt ||
        back.schriftGroesse != written.schriftGroesse || back.schriftName != written.schriftName)
        std::abort();
    return 0;
}
