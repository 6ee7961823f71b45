#pragma once

#include "core/store/FileError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The three options that outlive a run.
struct Options {
    std::int16_t startHidden = 0; // exactly 1: start hidden in the tray
    std::int16_t fontSize = 0;    // 1..8: index into the size table
    std::int16_t fontName = 0;    // 1..4: index into the name table
};

// "optionen.kel": records of 128 bytes, each holding one 16-bit little-endian
// value in its first two bytes; records 1 to 3 are the three options.
namespace OptionsFile {

inline constexpr const char* kName = "optionen.kel";
inline constexpr long kRecordSize = 128;

// Reads the three values; a value not wholly inside the file reads as 0. A
// missing file is created empty where the folder allows it.
[[nodiscard]] std::optional<FileError> read(const std::string& path, Options& options);

// Writes the three values into their records. The file is never shortened
// and bytes outside the three values are left as they are.
[[nodiscard]] std::optional<FileError> write(const std::string& path, const Options& options);

bool startsHidden(std::int16_t flag);
// The point size of a size index, or none for an index outside the table.
std::optional<int> pointSize(std::int16_t index);
std::optional<std::string_view> fontName(std::int16_t index);

// The index of a size text read as a number ("012" is 12), 0 when the text is
// not a number or not one of the sizes.
std::int16_t sizeIndex(std::string_view text);
// The index of a font name, compared exactly and case-sensitively; 0 if none.
std::int16_t nameIndex(std::string_view text);
// Points as the size text reads, or none when it is not a number.
std::optional<double> number(std::string_view text);

} // namespace OptionsFile
