#include "core/options/OptionsFile.h"
#include "Files.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class OptionsFileTest : public ::testing::Test {
protected:
    TempFolder folder;

    Options read()
    {
        Options options{7, 7, 7};
        const auto error = OptionsFile::read(OptionsFile::kName, options);
        EXPECT_FALSE(error) << error->reason;
        return options;
    }
};

std::string value(int v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

TEST_F(OptionsFileTest, AMissingFileIsCreatedEmptyAndReadsZeros)
{
    const Options options = read();
    EXPECT_EQ(options.startHidden, 0);
    EXPECT_EQ(options.fontSize, 0);
    EXPECT_EQ(options.fontName, 0);
    ASSERT_TRUE(fs::exists("optionen.kel"));
    EXPECT_EQ(fs::file_size("optionen.kel"), 0u);
}

TEST_F(OptionsFileTest, WritingAnEmptyFileGivesThreeValuesIn258Bytes)
{
    ASSERT_FALSE(OptionsFile::write(OptionsFile::kName, {1, 5, -2}));
    const std::string bytes = readBytes("optionen.kel");
    ASSERT_EQ(bytes.size(), 258u);
    EXPECT_EQ(bytes.substr(0, 2), value(1));
    EXPECT_EQ(bytes.substr(128, 2), value(5));
    EXPECT_EQ(bytes.substr(256, 2), value(-2));
    EXPECT_EQ(bytes.substr(2, 126), std::string(126, '\0'));
    const Options back = read();
    EXPECT_EQ(back.fontName, -2);
}

TEST_F(OptionsFileTest, WritingKeepsLongerFilesAndTheirFiller)
{
    std::string old(300, '\xAA');
    writeBytes("optionen.kel", old);
    ASSERT_FALSE(OptionsFile::write(OptionsFile::kName, {0, 4, 2}));
    std::string expected = old;
    expected.replace(0, 2, value(0));
    expected.replace(128, 2, value(4));
    expected.replace(256, 2, value(2));
    EXPECT_EQ(readBytes("optionen.kel"), expected);
}

TEST_F(OptionsFileTest, ValuesNotWhollyInTheFileReadAsZero)
{
    writeBytes("optionen.kel", value(1) + std::string(126, 'x') + value(3));
    Options options = read();
    EXPECT_EQ(options.startHidden, 1);
    EXPECT_EQ(options.fontSize, 3);
    EXPECT_EQ(options.fontName, 0);

    writeBytes("optionen.kel", "\x01");
    options = read();
    EXPECT_EQ(options.startHidden, 0);

    writeBytes("optionen.kel", std::string(258, '\xFF'));
    options = read();
    EXPECT_EQ(options.startHidden, -1);
    EXPECT_FALSE(OptionsFile::startsHidden(options.startHidden));
    EXPECT_FALSE(OptionsFile::pointSize(options.fontSize));
    EXPECT_FALSE(OptionsFile::fontName(options.fontName));
}

TEST_F(OptionsFileTest, AFolderInThePlaceOfTheFileIsAnErrorNotAValue)
{
    fs::create_directory("optionen.kel");
    Options options;
    EXPECT_TRUE(OptionsFile::read(OptionsFile::kName, options));
    EXPECT_TRUE(OptionsFile::write(OptionsFile::kName, options));
}

TEST(OptionsTables, IndicesMapToSizesAndNames)
{
    EXPECT_TRUE(OptionsFile::startsHidden(1));
    for (const std::int16_t flag : {0, 2, -1})
        EXPECT_FALSE(OptionsFile::startsHidden(flag));
    EXPECT_EQ(OptionsFile::pointSize(1), 6);
    EXPECT_EQ(OptionsFile::pointSize(8), 20);
    for (const std::int16_t bad : {0, 9, -1})
        EXPECT_FALSE(OptionsFile::pointSize(bad));
    EXPECT_EQ(OptionsFile::fontName(2), "Times New Roman");
    EXPECT_EQ(OptionsFile::fontName(4), "News Gothic MT");
    EXPECT_FALSE(OptionsFile::fontName(5));
}

TEST(OptionsTables, SizeTextsCompareAsNumbersAndNamesExactly)
{
    const std::pair<const char*, int> sizes[] = {{"12", 4}, {"012", 4}, {" 14 ", 5}, {"6", 1},   {"20.0", 8},
                                                 {"7", 0},  {"13", 0},  {"", 0},     {"abc", 0}, {"12pt", 0}};
    for (const auto& [text, index] : sizes)
        EXPECT_EQ(OptionsFile::sizeIndex(text), index) << text;
    EXPECT_EQ(OptionsFile::nameIndex("Times New Roman"), 2);
    EXPECT_EQ(OptionsFile::nameIndex("Arial"), 1);
    EXPECT_EQ(OptionsFile::nameIndex("arial"), 0);
    EXPECT_EQ(OptionsFile::nameIndex("Arial "), 0);
}

} // namespace
